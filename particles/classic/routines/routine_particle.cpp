#include "particles/classic/routines/routine_particle.h"

#include <cmath>

#include "particles/classic/routines/inner_particle_routine.h"
#include "platform/math/d3dx_math.h"

RoutineParticle::RoutineParticle(const D3DXVECTOR3& position) : position(position) {
  D3DXMatrixIdentity(&matrix);
}

DS_SafePtr<RoutineParticle> MakeParticle(const D3DXVECTOR3& position) {
  return DS_SafePtr<RoutineParticle>::MakePooled<RoutineParticle>(position);
}

void RoutineParticle::AddRoutine(DS_SafePtr<InnerParticleRoutine> routine, bool applyNow) {
  InnerParticleRoutine* target = routine.Get();
  routines.push_back(std::move(routine));
  if (applyNow && target != nullptr) target->Apply(0.0f, *this);
}

void RoutineParticle::SetLifeRoutine(DS_SafePtr<InnerParticleRoutine> routine) {
  lifeRoutine = std::move(routine);
}

bool RoutineParticle::Update(float dt) {
  if (InnerParticleRoutine* life = lifeRoutine.Get(); life != nullptr && !life->Apply(dt, *this))
    return false;
  multipliers.fill(1.0f);
  force = {0, 0, 0};
  bool alive = true;
  for (const auto& routine : routines) {
    if (routine && !routine->Apply(dt, *this)) {
      alive = false;
      break;
    }
  }
  const float speed = D3DXVec3Length(&velocity);
  direction = speed > 0.0f ? velocity / speed : D3DXVECTOR3(0, 1, 0);
  normal = {-direction.y, direction.x, 0.0f};
  return alive;
}

float* RoutineParticle::ValueAt(int k) {
  switch (k) {
    case 0:
      return &age;
    case 1:
      return &ownSize;
    case 2:
      return &ownOpacity;
    case 3:
      return &spinFactor;
    case 4:
    case 5:
      return &kindValues[k - 4];
    case 6:
      return &lateralUnit;
    default:
      if (k >= kFirstMultiplierValue && k < kValueCount)
        return &multipliers[k - kFirstMultiplierValue];
      return nullptr;
  }
}

float RoutineParticle::LifeLimit() const {
  return lifeRoutine ? lifeRoutine->Limit() : 1.0f;
}

void UpdateRoutineParticles(RoutineParticleList& particles, float dt) {
  for (auto it = particles.begin(); it != particles.end();) {
    if (*it && (*it)->Update(dt)) {
      ++it;
    } else {
      it = particles.erase(it);
    }
  }
}
