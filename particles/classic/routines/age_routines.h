#pragma once

#include <vector>

#include "core/param/scaled_param.h"
#include "geometry/curve/curve_sample.h"
#include "particles/classic/routines/inner_particle_routine.h"

// The age family: routines that age a particle and answer whether it is still within its bound.
// The appearance and the colour routine divide the age by the life routine's Limit to get the
// life fraction.

// Age in seconds: age += dt; alive while age <= lifetime.
class IPR_ConstantAge : public InnerParticleRoutine {
 public:
  explicit IPR_ConstantAge(float lifetime) : lifetime(lifetime) {}

  bool Apply(float dt, RoutineParticle& particle) override;
  float Limit() const override { return lifetime; }

  float lifetime;
};

// Age as distance travelled: age += speed x dt; alive while age <= limit. The speed is the
// control's parameter (not owned; the control outlives its particles); without one it is 0.
class IPR_ConstDistance : public IPR_ConstantAge {
 public:
  IPR_ConstDistance(float limit, const UINTSclaleTo<float>* speed)
      : IPR_ConstantAge(limit), speed(speed) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  const UINTSclaleTo<float>* speed;
};

// As IPR_ConstDistance, bounded by the total length of a curve's samples (not owned).
class IPR_ConstPath : public IPR_ConstDistance {
 public:
  IPR_ConstPath(const std::vector<CurveSample>* samples, const UINTSclaleTo<float>* speed)
      : IPR_ConstDistance(0.0f, speed), samples(samples) {}

  float Limit() const override;

  const std::vector<CurveSample>* samples;
};
