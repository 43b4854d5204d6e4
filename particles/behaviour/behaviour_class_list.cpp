#include "particles/behaviour/behaviour_class_list.h"

#include "particles/behaviour/effects/angle_effects.h"
#include "particles/behaviour/effects/color_effects.h"
#include "particles/behaviour/effects/motion_effects.h"
#include "particles/behaviour/effects/multiplier_effects.h"
#include "particles/behaviour/effects/periodic_effects.h"
#include "particles/behaviour/laws/centred_laws.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/physics/curve_physics.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "particles/behaviour/physics/exploding_pic.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/physics/perlin_curve.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/behaviour/physics/random_curve.h"
#include "particles/behaviour/physics/root_point.h"
#include "particles/behaviour/physics/shaped_points.h"
#include "particles/behaviour/physics/trace_line.h"
#include "particles/behaviour/physics/track_physics.h"
#include "particles/behaviour/sources/emitter_kinds.h"
#include "particles/behaviour/sources/line_emitters.h"
#include "particles/behaviour/sources/parent_sources.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The parameter blocks
// here are stored inline in their owners' records and have no entry; the sources, physics,
// effects and motion laws register here.
void RegisterParticlesBehaviourClasses(ClassRegistries& r) {
  AddClass<ZKW_PtclSysPhys_RootPnt, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_RootPnt");
  AddClass<ZKW_PtclSysPhys_ConstPntGroup, ZKW_IOF_Item>(r.iofItems,
                                                        u"ZKW_PtclSysPhys_ConstPntGroup");
  // The older name of the point group.
  AddClass<ZKW_PtclSysPhys_ConstPntGroup, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_PntCloud");
  AddClass<ZKW_PtclSysPhys_ExplodingPic, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_ExplodingPic");

  // Effects; the picture node's rotation and the exploding picture's spinner are only members.
  AddClass<ZKW_PtclSysEffect<ZKW_OrientationInMotion>, ZKW_IOF_Item>(r.iofItems,
                                                                     u"ZKW_OrientationInMotion");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_AlignToSource>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_AlignToSource");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_AngleBase>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_AngleBase");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_AngleDyn>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_AngleDyn");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin>, ZKW_IOF_Item>(r.iofItems,
                                                                    u"ZKW_PtclSysEffect_Spin");
  // The periodic effects.
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Pulsation>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_Pulsation");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Vibration>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_Vibration");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Deformation>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_Deformation");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Swinging>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_Swinging");
  // The colour and multiplier effects.
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorD>, ZKW_IOF_Item>(r.iofItems,
                                                                      u"ZKW_PtclSysEffect_ColorD");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorV>, ZKW_IOF_Item>(r.iofItems,
                                                                      u"ZKW_PtclSysEffect_ColorV");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEff_ColorGradient>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEff_ColorGradient");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEff_VariatorMF>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEff_VariatorMF");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEff_Graph>, ZKW_IOF_Item>(r.iofItems,
                                                                  u"ZKW_PtclSysEff_Graph");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEff_Gradient>, ZKW_IOF_Item>(r.iofItems,
                                                                     u"ZKW_PtclSysEff_Gradient");

  // Emitting physics; the life limit and the plain source are bases only.
  AddClass<ZKW_PtclSysPhys_SourceFig, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_SourceFig");
  AddClass<ZKW_PtclSysPhys_Lattice, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_Lattice");

  // Motion laws; the base and the centred base are not registered.
  AddClass<ZKW_PtclSysMLaw_Kinematic, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Kinematic");
  AddClass<ZKW_PtclSysMLaw_Vector, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Vector");
  AddClass<ZKW_PtclSysMLaw_Normal, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Normal");
  AddClass<ZKW_PtclSysMLaw_VelocityField, ZKW_IOF_Item>(r.iofItems,
                                                        u"ZKW_PtclSysMLaw_VelocityField");
  AddClass<ZKW_PtclSysMLaw_Loop, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Loop");
  AddClass<ZKW_PtclSysMLaw_Radial, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Radial");
  AddClass<ZKW_PtclSysMLaw_Spiral, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLaw_Spiral");
  AddClass<ZKW_PtclSysMLCentred_Tunel, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysMLCentred_Tunel");

  // Force, texture and motion-law effects.
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceGravitation>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_ForceGravitation");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_ForceDrag>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_ForceDrag");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_ScrollTex>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_ScrollTex");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_BgTex>, ZKW_IOF_Item>(r.iofItems,
                                                                     u"ZKW_PtclSysEffect_BgTex");
  AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_MotionLaw>, ZKW_IOF_Item>(
      r.iofItems, u"ZKW_PtclSysEffect_MotionLaw");

  // Point physics on a shape; the nest is a base only.
  AddClass<ZKW_PtclSysPhys_Swarm, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_Swarm");
  AddClass<ZKW_PtclSysPhys_Flow, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_Flow");
  AddClass<ZKW_PtclSysPhys_FixedSpots, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_FixedSpots");

  // Tracks along a curve.
  AddClass<ZKW_PtclSysPhys_Track, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_Track");
  AddClass<ZKW_PtclSysPhys_TrackPerspective, ZKW_IOF_Item>(r.iofItems,
                                                           u"ZKW_PtclSysPhys_TrackPerspective");

  // The preset-tree sources; the emitter base is only ever a part of these. The geometry base
  // makes nothing and stands in for a node's missing source.
  AddClass<ZKW_PtclSys_Geometry, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSys_Geometry");
  AddClass<ZKW_PSGeomEmit_Point, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Point");
  AddClass<ZKW_PSGeomEmit_Circular, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Circular");
  AddClass<ZKW_PSGeomEmit_Sector, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Sector");
  AddClass<ZKW_PSGeomEmit_Rect, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Rect");
  AddClass<ZKW_PSGeomEmit_Field, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Field");
  AddClass<ZKW_PSGeomEmit_Stream, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Stream");
  AddClass<ZKW_PSGeomEmit_Line, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Line");
  AddClass<ZKW_PSGeomEmit_Path, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeomEmit_Path");
  AddClass<ZKW_PSGeometry_Point, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeometry_Point");
  AddClass<ZKW_PSGeometry_Swarm, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeometry_Swarm");
  AddClass<ZKW_PSGeometry_Trace, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSGeometry_Trace");
  AddClass<ZKW_PSSource_Group, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSSource_Group");

  // Stripe physics: trails and curves. The stripes base and the curves base are bases only.
  AddClass<ZKW_PtclSysPhys_TraceLine, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_TraceLine");
  AddClass<ZKW_PtclSysPhys_LineCurv, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_LineCurv");
  AddClass<ZKW_PtclSysPhys_FractalCurv, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_FractalCurv");
  AddClass<ZKW_PtclSysPhys_RandomCurv, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_RandomCurv");
  AddClass<ZKW_PtclSysPhys_PerlinCurv, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_PerlinCurv");
}
