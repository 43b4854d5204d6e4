#pragma once

#include <cstdint>

#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/physics/curve_physics.h"

// Animated midpoint displacement: every level puts a point between each pair of neighbours and
// pushes it across their segment by a random amount that drifts smoothly from one target to the
// next at the speed.
class ZKW_PtclSysPhys_FractalCurv : public ZKW_PtclSysPhys_Curves {
 public:
  ZKW_PtclSysPhys_FractalCurv();

  // Version 2: UInt32 levels, roughness and speed, then the curves record. Version 1 has no
  // speed.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Moves the clock on, updates the curves, then every midpoint after both of its end points.
  ParticleList Update(ParticleList* parents, float step) override;
  // 2^levels + 1 points from (0, 0, 0) to (1, 0, 0); levels above 15 count as 15.
  DS_SafePtr<ZKW_PtclSysPhys_Points> BuildStripe(const ParticleHandle& curve) override;

  MediaParamT<unsigned> levels{5};
  UINTSclaleTo<float> roughness{50, 0.004f, 0.0f};
  MediaSpeedParam speed;  // 5 per second

  // The clock: step = speed x the frame's dt, total = the sum of the steps, and that dt.
  float clockStep = 0.0f;
  float clockTotal = 0.0f;
  float frameDt = 0.0f;
};

// A midpoint between two stripe points, pushed across their segment by c x roughness x its
// length, c drifting from r1 to r2 as the phase runs through 0..1 at the physics' step.
class PtclTr_FractalPnt : public ZKW_PtclTransform {
 public:
  PtclTr_FractalPnt(const ZKW_PtclSysPhys_FractalCurv* physics, ParticleHandle a, ParticleHandle b,
                    float phase, float r1, float r2)
      : physics(physics), a(std::move(a)), b(std::move(b)), phase(phase), r1(r1), r2(r2) {}
  bool Apply(float dt, ParticleRecord* p) override;

  const ZKW_PtclSysPhys_FractalCurv* physics;
  ParticleHandle a, b;
  float phase, r1, r2;
};
