#include "objects/text3d/text3d_class_list.h"

#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"

// One line per class, in the form of core/registry/core_class_list.cpp. ZKW_Text is read only
// inside its kinds' records; the abstract model base DS_3D_Obj_Ctrl is never stored on its own.
// Neither has an entry.
void RegisterObjectsText3dClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_2DTex>(r.objects, u"ZKW_2DTex");
  AddObjectClass<ZKW_3DTex>(r.objects, u"ZKW_3DTex");
  AddObjectClass<DS_3D_in_2D_array_Constructor>(r.objects, u"DS_3D_in_2D_array_Constructor");
  AddObjectClass<DS_ButterflyConstructor>(r.objects, u"DS_ButterflyConstructor");
  AddObjectClass<DS_ClockConstructor>(r.objects, u"DS_ClockConstructor");
  AddObjectClass<DS_StaticTextConstructor>(r.objects, u"DS_StaticTextConstructor");
  AddObjectClass<DS_TextLinkConstructor>(r.objects, u"DS_TextLinkConstructor");
  AddObjectClass<DS_ScrollingTextConstructor>(r.objects, u"DS_ScrollingTextConstructor");
  AddObjectClass<DS_StaticText>(r.objects, u"DS_StaticText");
  AddObjectClass<DS_TextLink>(r.objects, u"DS_TextLink");
  AddObjectClass<DS_ScrollingTex>(r.objects, u"DS_ScrollingTex");
}
