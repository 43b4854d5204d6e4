#include "objects/sprites/sprites_class_list.h"

#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flow_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_brown_animation.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_falling_stars.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_path_animtion.h"
#include "objects/sprites/generators/ds_plant.h"
#include "objects/sprites/generators/ds_radial_rays.h"
#include "objects/sprites/generators/ds_smoke.h"
#include "objects/sprites/generators/ds_static_animation.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The preset bases are
// never stored on their own and have no entry.
void RegisterObjectsSpritesClasses(ClassRegistries& r) {
  AddObjectClass<DS_SparkleConstructor>(r.objects, u"DS_SparkleConstructor");
  AddObjectClass<DS_GodRayConstructor>(r.objects, u"DS_GodRayConstructor");
  AddObjectClass<DS_DischargeFXConstructor>(r.objects, u"DS_DischargeFXConstructor");
  AddObjectClass<DS_FishConstructor>(r.objects, u"DS_FishConstructor");
  AddObjectClass<DS_BirdConstructor>(r.objects, u"DS_BirdConstructor");
  AddObjectClass<DS_GhostConstructor>(r.objects, u"DS_GhostConstructor");
  AddObjectClass<DS_FlowConstructor>(r.objects, u"DS_FlowConstructor");
  AddObjectClass<DS_RainConstructor>(r.objects, u"DS_RainConstructor");
  AddObjectClass<DS_FogConstructor>(r.objects, u"DS_FogConstructor");
  AddObjectClass<DS_LightingConstructor>(r.objects, u"DS_LightingConstructor");
  AddObjectClass<DS_GrassConstructor>(r.objects, u"DS_GrassConstructor");
  AddObjectClass<DS_StatObjConstructor>(r.objects, u"DS_StatObjConstructor");
  AddObjectClass<DS_DischargeConstructor>(r.objects, u"DS_DischargeConstructor");
  AddObjectClass<DS_FlowerConstructor>(r.objects, u"DS_FlowerConstructor");
  AddObjectClass<DS_ExplosionConstructor>(r.objects, u"DS_ExplosionConstructor");
  AddObjectClass<DS_Bling>(r.objects, u"DS_Bling");
  AddObjectClass<DS_CustomAirBrush>(r.objects, u"DS_CustomAirBrush");
  AddObjectClass<DS_TwinklingStars>(r.objects, u"DS_TwinklingStars");
  AddObjectClass<DS_Aurora>(r.objects, u"DS_Aurora");
  AddObjectClass<DS_AnimatedFont>(r.objects, u"DS_AnimatedFont");
  AddObjectClass<DS_RadialRays>(r.objects, u"DS_RadialRays");
  AddObjectClass<DS_Smoke>(r.objects, u"DS_Smoke");
  AddObjectClass<DS_PathAnimtion>(r.objects, u"DS_PathAnimtion");
  AddObjectClass<DS_StaticAnimation>(r.objects, u"DS_StaticAnimation");
  AddObjectClass<DS_Plant>(r.objects, u"DS_Plant");
  AddObjectClass<DS_FallingStars>(r.objects, u"DS_FallingStars");
  AddObjectClass<DS_BrownAnimation>(r.objects, u"DS_BrownAnimation");
  AddObjectClass<DS_FireworkSimple>(r.objects, u"DS_FireworkSimple");
  AddObjectClass<DS_LightningGN>(r.objects, u"DS_LightningGN");
}
