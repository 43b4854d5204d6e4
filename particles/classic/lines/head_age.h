#pragma once

#include "particles/classic/routines/age_routines.h"

// The life routine of a line's head particle: it ages by the step and never dies, so that the
// head's life fraction (age / limit) runs from 0 to 1 over the limit and on.
class IPR_HeadAge : public IPR_ConstantAge {
 public:
  explicit IPR_HeadAge(float limit) : IPR_ConstantAge(limit) {}

  bool Apply(float dt, RoutineParticle& particle) override {
    particle.age += dt;
    return true;
  }
};
