#pragma once

#include <cstdint>
#include <vector>

#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/physics/curve_physics.h"

// Random walks from (0, 0, 0) to (1, 0, 0): the points move in straight lines towards a new walk,
// which they reach after 1 / speed seconds, and are then aimed at the next one.
class ZKW_PtclSysPhys_RandomCurv : public ZKW_PtclSysPhys_Curves {
 public:
  ZKW_PtclSysPhys_RandomCurv();

  // Version 1: UInt32 segments, roughness and speed, then the curves record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Moves the clock on; re-aims the points of a stripe whose time has come, then moves them by
  // the clock step.
  ParticleList Update(ParticleList* parents, float step) override;
  // Points on one walk moving towards another; the first point's life float holds the time of
  // the next re-aim.
  DS_SafePtr<ZKW_PtclSysPhys_Points> BuildStripe(const ParticleHandle& curve) override;

  // segments + 1 points: each step covers the remaining distance over the remaining steps in a
  // direction bent at random by up to the roughness, and the last point is (1, 0, 0). Segments
  // are taken as StripeSegments gives them.
  std::vector<D3DXVECTOR3> RandomWalk(unsigned segments) const;

  MediaParamT<unsigned> segments{20};
  UINTSclaleTo<float> roughness{50, 0.016f, 0.0f};
  MediaSpeedParam speed;  // 5 per second

  float clockStep = 0.0f;
  float clockTotal = 0.0f;
};
