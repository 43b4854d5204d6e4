#pragma once

#include "particles/classic/routines/inner_particle_routine.h"
#include "platform/math/d3dx_types.h"

// Moves the particle with its velocity and the acceleration plus this step's force:
// position += v dt + a dt^2 / 2, then v += a dt.
class IPR_Kinematic : public InnerParticleRoutine {
 public:
  bool Apply(float dt, RoutineParticle& particle) override;
};

// Air resistance: force -= k x velocity.
class IPR_AirResist : public InnerParticleRoutine {
 public:
  explicit IPR_AirResist(float coefficient) : coefficient(coefficient) {}
  bool Apply(float dt, RoutineParticle& particle) override;

  float coefficient;
};

// Wind: force += (wind - velocity) x c, pulling the particle towards the wind's velocity.
class IPR_Wind : public InnerParticleRoutine {
 public:
  IPR_Wind(const D3DXVECTOR3& wind, float coefficient) : wind(wind), coefficient(coefficient) {}
  bool Apply(float dt, RoutineParticle& particle) override;

  D3DXVECTOR3 wind;
  float coefficient;
};
