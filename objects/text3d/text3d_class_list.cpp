#include "objects/text3d/text3d_class_list.h"

#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The abstract model base
// DS_3D_Obj_Ctrl is never stored on its own and has no entry.
void RegisterObjectsText3dClasses(ClassRegistries& r) {
  AddObjectClass<DS_3D_in_2D_array_Constructor>(r.objects, u"DS_3D_in_2D_array_Constructor");
  AddObjectClass<DS_ButterflyConstructor>(r.objects, u"DS_ButterflyConstructor");
  AddObjectClass<DS_ClockConstructor>(r.objects, u"DS_ClockConstructor");
}
