#include "objects/text3d/zkw_text.h"

#include "objects/text3d/zkw_text_obj.h"

bool ZKW_Text::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Text", kVersion);
  text.Save(archive);
  return DS_ABObj_Constructor::Save(archive);
}

bool ZKW_Text::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  text.Read(archive);
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> ZKW_Text::CreateRuntimeObject() {
  std::unique_ptr<ZKW_Text> clone = Clone();
  ZKW_Text& prepared = *clone;
  auto object = std::make_unique<ZKW_TextObj>(std::move(clone));
  prepared.Prepare();
  prepared.Restart();
  return object;
}
