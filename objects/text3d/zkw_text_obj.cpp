#include "objects/text3d/zkw_text_obj.h"

ZKW_TextObj::ZKW_TextObj(std::unique_ptr<ZKW_Text> text)
    : DS_ABObj(std::move(text)), text_(static_cast<ZKW_Text*>(Description())) {}
