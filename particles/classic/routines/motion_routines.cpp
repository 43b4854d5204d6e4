#include "particles/classic/routines/motion_routines.h"

bool IPR_Kinematic::Apply(float dt, RoutineParticle& p) {
  const D3DXVECTOR3 a = p.acceleration + p.force;
  p.position += p.velocity * dt + a * (dt * dt / 2.0f);
  p.velocity += a * dt;
  return true;
}

bool IPR_AirResist::Apply(float, RoutineParticle& p) {
  p.force -= p.velocity * coefficient;
  return true;
}

bool IPR_Wind::Apply(float, RoutineParticle& p) {
  p.force += (wind - p.velocity) * coefficient;
  return true;
}
