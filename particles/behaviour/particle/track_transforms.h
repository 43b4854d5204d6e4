#pragma once

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/shape/zkw_smart_geom.h"
#include "geometry/shape/zkw_vgeom2d_curve.h"
#include "particles/behaviour/params/path_follow_prm.h"
#include "particles/behaviour/particle/particle_record.h"

// The waits of a track particle at the ends of its curve.
struct TrackPauses {
  TimeParam startPause;
  TimeParam endPause;
  MediaParamT<int> hideAtStart{0};  // invisible while waiting at the start
  MediaParamT<int> hideAtEnd{0};
};

using SmartCurve = ZKW_SmartGeom<ZKW_VGeom2D_Curve>;

// Runs the particle along a curve: a wait at the start, the run at the track's speed with its
// easing, a wait at the end, then over again from the start (bounce 0) or back. Float parameter 0
// keeps the laps run plus the part of the current one. A curve that is missing or has no length
// leaves the particle where it is.
class PtclTr_FollowCurve : public ZKW_PtclTransform {
 public:
  PtclTr_FollowCurve(const SmartCurve* curve, const TrackPrm* motion, const TrackPauses* pauses)
      : curve(curve), motion(motion), pauses(pauses), timer(pauses->startPause.Scaled()) {}
  bool Apply(float dt, ParticleRecord* p) override;

  // The eased position in [0, 1] along a way `length` long after a step of dt.
  float Progress(float dt, float length, ParticleRecord* p);
  // Turns or mirrors the particle to face its way along the tangent d.
  void Orient(D3DXVECTOR3 d, ParticleRecord* p) const;

  const SmartCurve* curve;
  const TrackPrm* motion;
  const TrackPauses* pauses;
  float travelled = 0.0f;
  bool returning = false;
  int state = 0;  // 0 waiting at the start, 1 waiting at the end, 2 moving
  float timer;    // seconds left of the wait
};

// A track seen in perspective: progress runs over a way 100 long (so the speed is percent of the
// way per second), the particle shrinks with depth and its progress along the followed curve
// slows as if it moved away.
class PtclTr_PerspectivePath : public PtclTr_FollowCurve {
 public:
  PtclTr_PerspectivePath(const SmartCurve* followed, const TrackPrm* motion,
                         const TrackPauses* pauses)
      : PtclTr_FollowCurve(followed, motion, pauses) {}
  bool Apply(float dt, ParticleRecord* p) override;

  static constexpr float kWayLength = 100.0f;
};
