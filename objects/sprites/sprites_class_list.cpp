#include "objects/sprites/sprites_class_list.h"

#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The preset bases are
// never stored on their own and have no entry.
void RegisterObjectsSpritesClasses(ClassRegistries& r) {
  AddObjectClass<DS_SparkleConstructor>(r.objects, u"DS_SparkleConstructor");
  AddObjectClass<DS_GodRayConstructor>(r.objects, u"DS_GodRayConstructor");
  AddObjectClass<DS_DischargeFXConstructor>(r.objects, u"DS_DischargeFXConstructor");
  AddObjectClass<DS_Bling>(r.objects, u"DS_Bling");
  AddObjectClass<DS_CustomAirBrush>(r.objects, u"DS_CustomAirBrush");
  AddObjectClass<DS_TwinklingStars>(r.objects, u"DS_TwinklingStars");
  AddObjectClass<DS_Aurora>(r.objects, u"DS_Aurora");
}
