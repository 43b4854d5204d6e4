#include "fx/fx_class_list.h"

#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"

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
}
