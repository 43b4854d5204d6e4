#include "particles/classic/routines/age_routines.h"

#include "geometry/curve/curve_cursor.h"

bool IPR_ConstantAge::Apply(float dt, RoutineParticle& particle) {
  particle.age += dt;
  return particle.age <= Limit();
}

bool IPR_ConstDistance::Apply(float dt, RoutineParticle& particle) {
  particle.age += (speed != nullptr ? speed->Scaled() : 0.0f) * dt;
  return Limit() >= particle.age;
}

float IPR_ConstPath::Limit() const {
  return CurveCursor(samples).TotalLength();
}
