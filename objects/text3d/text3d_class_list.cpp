#include "objects/text3d/text3d_class_list.h"

#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"

// One line per class, in the form of core/registry/core_class_list.cpp. ZKW_Text is read only
// inside its kinds' records.
void RegisterText3dClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_2DTex>(r.objects, u"ZKW_2DTex");
  AddObjectClass<ZKW_3DTex>(r.objects, u"ZKW_3DTex");
}
