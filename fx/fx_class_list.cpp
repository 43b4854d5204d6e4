#include "fx/fx_class_list.h"

#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/colour/ds_saturation_fx.h"
#include "fx/colour/ds_saturation_wave_fx.h"
#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_move_fx.h"
#include "fx/direction/ds_quorbel_linear.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_fx_ii.h"
#include "fx/light/ds_light_wave_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"
#include "fx/sky/ds_cloud_fx.h"
#include "fx/water/ds_water_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "renderers/brush/ds_fire_fx.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The bases
// (DS_DirectionBased, DS_CentralBased, DS_LineBased) are read only inside their kinds' records.
void RegisterFxClasses(ClassRegistries& r) {
  // Waves.
  AddObjectClass<DS_WavesFX>(r.objects, u"DS_WavesFX");
  AddObjectClass<DS_RadialWaveFX>(r.objects, u"DS_RadialWaveFX");

  // Distortions about a centre.
  AddObjectClass<DS_ExpandFX>(r.objects, u"DS_ExpandFX");
  AddObjectClass<DS_RotationFX>(r.objects, u"DS_RotationFX");
  AddObjectClass<DS_BendFX>(r.objects, u"DS_BendFX");
  AddObjectClass<DS_QuorbelRadial>(r.objects, u"DS_QuorbelRadial");
  AddObjectClass<DS_QuorbelVortical>(r.objects, u"DS_QuorbelVortical");

  // Distortions about a line.
  AddObjectClass<DS_PerspectiveFX>(r.objects, u"DS_PerspectiveFX");
  AddObjectClass<DS_StretchFX>(r.objects, u"DS_StretchFX");

  // Colours.
  AddObjectClass<DS_ColorShiftFX>(r.objects, u"DS_ColorShiftFX");
  AddObjectClass<DS_SaturationWaveFX>(r.objects, u"DS_SaturationWaveFX");
  AddObjectClass<DS_SaturationFX>(r.objects, u"DS_SaturationFX");
  AddObjectClass<DS_DayToNight>(r.objects, u"DS_DayToNight");

  // Light.
  AddObjectClass<DS_LightFX>(r.objects, u"DS_LightFX");
  AddObjectClass<DS_LightFX_II>(r.objects, u"DS_LightFX_II");
  AddObjectClass<DS_LightWaveFX>(r.objects, u"DS_LightWaveFX");

  // Layers.
  AddObjectClass<DS_EraseLayerFX>(r.objects, u"DS_EraseLayerFX");
  AddObjectClass<DS_BlureFX>(r.objects, u"DS_BlureFX");
  AddObjectClass<DS_PatternBrush>(r.objects, u"DS_PatternBrush");
  AddObjectClass<DS_PatternBrushC>(r.objects, u"DS_PatternBrushC");

  // Heat and relief.
  AddObjectClass<DS_HeatDistortion>(r.objects, u"DS_HeatDistortion");
  AddObjectClass<DS_BumpFX>(r.objects, u"DS_BumpFX");
  // Along a direction.
  AddObjectClass<DS_MoveFX>(r.objects, u"DS_MoveFX");
  AddObjectClass<DS_QuorbelLinear>(r.objects, u"DS_QuorbelLinear");
  AddObjectClass<DS_WaterfallFX>(r.objects, u"DS_WaterfallFX");

  // Sky, water, copies and fire (the flame renderer embeds a fire of its own too).
  AddObjectClass<DS_CloudFX>(r.objects, u"DS_CloudFX");
  AddObjectClass<DS_WaterFX>(r.objects, u"DS_WaterFX");
  AddObjectClass<DS_BackgroundCopy>(r.objects, u"DS_BackgroundCopy");
  AddObjectClass<DS_FireFX>(r.objects, u"DS_FireFX");
}
