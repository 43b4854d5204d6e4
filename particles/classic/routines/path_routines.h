#pragma once

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_tb.h"
#include "core/param/scaled_param.h"
#include "geometry/curve/curve_cursor.h"
#include "particles/classic/routines/age_routines.h"

// Routines that place a particle on a curve through a cursor over the curve's samples (shared
// through its handle; the curve belongs to the control). The lateral offset of a particle is
// its path-offset multiplier x its lateral offset unit x the control's offset parameter (not
// owned; 0 without one).

// Walks the cursor forward: d = factor x dt x speed; age += d; the cursor advances by d with the
// lateral offset, writing position and velocity. Answers the cursor's result (false past the
// end). Its limit is the curve's total length.
class IPR_PathTracker : public IPR_ConstantAge {
 public:
  IPR_PathTracker(const MediaParamTB<unsigned>* offset, DS_SafePtr<CurveCursor> cursor,
                  const UINTSclaleTo<float>* speed, float factor)
      : IPR_ConstantAge(0.0f),
        offset(offset),
        cursor(std::move(cursor)),
        speed(speed),
        factor(factor) {}

  bool Apply(float dt, RoutineParticle& particle) override;
  float Limit() const override;

  const MediaParamTB<unsigned>* offset;
  DS_SafePtr<CurveCursor> cursor;
  const UINTSclaleTo<float>* speed;
  float factor;
};

// Places the particle at the arc length equal to its age, with the lateral offset; the path
// index becomes the cursor's segment. Answers the seek's result.
class IPR_PathPoint : public InnerParticleRoutine {
 public:
  IPR_PathPoint(const MediaParamTB<unsigned>* offset, DS_SafePtr<CurveCursor> cursor)
      : offset(offset), cursor(std::move(cursor)) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  const MediaParamTB<unsigned>* offset;
  DS_SafePtr<CurveCursor> cursor;
};

// Places the particle on the sample at its path index (kept inside the list), moved by the
// lateral offset to the right of the sample's direction, which becomes its velocity. False on a
// curve of fewer than two samples.
class IPR_IndexedPathPoint : public IPR_PathPoint {
 public:
  using IPR_PathPoint::IPR_PathPoint;

  bool Apply(float dt, RoutineParticle& particle) override;
};

// The lateral offset of `particle` on a path whose offset parameter is `offset`.
float PathLateralOffset(const RoutineParticle& particle, const MediaParamTB<unsigned>* offset);
