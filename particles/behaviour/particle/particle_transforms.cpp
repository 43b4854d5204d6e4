#include "particles/behaviour/particle/particle_transforms.h"

#include <algorithm>

bool PtclTr_MaxAge::Apply(float dt, ParticleRecord* p) {
  if (lifetime == 0.0f) return false;
  float& life = p->floats[ParticleRecord::kLife];
  life += dt / lifetime;
  if (life >= 1.0f) {
    life = 1.0f;
    return false;
  }
  return true;
}

bool PtclTr_PhoenixLife::Apply(float dt, ParticleRecord* p) {
  if (!(period > 0.0f)) return true;
  float& life = p->floats[ParticleRecord::kLife];
  life += dt / period;
  if (life >= 1.0f) life -= 1.0f;
  return true;
}

bool PtclTr_DieOnTimer::Apply(float, ParticleRecord* p) {
  return p->floats[ParticleRecord::kAge] < limit;
}

bool PtclTr_InheritAge::Apply(float, ParticleRecord* p) {
  if (const ParticleRecord* parent = p->Parent())
    p->floats[ParticleRecord::kLife] = parent->floats[ParticleRecord::kLife];
  return true;
}

bool PtclTr_InheritVectorPrm::Apply(float, ParticleRecord* p) {
  const ParticleRecord* parent = p->Parent();
  if (parent != nullptr && k >= 0 && k < ParticleRecord::kVectorCount)
    p->vectors[k] = parent->vectors[k];
  return true;
}

bool PtclTr_TexAtlasAnimation::Apply(float dt, ParticleRecord* p) {
  accumulator += dt;
  const float fps = framesPerSecond != nullptr ? framesPerSecond->Scaled() : 0.0f;
  const float period = 1.0f / fps;
  if (!(accumulator > period)) return true;
  accumulator -= period;
  float& column = p->atlasCell[0];
  float& row = p->atlasCell[2];
  column += 1.0f;
  if (column < static_cast<float>(std::max(columns, 1))) return true;
  column = 0.0f;
  row += 1.0f;
  if (row < static_cast<float>(std::max(rows, 1))) return true;
  row = 0.0f;
  return endMode != nullptr && endMode->Value() == 1;
}

bool PtclTr_Kinematic::Apply(float dt, ParticleRecord* p) {
  const D3DXVECTOR3 u = p->vectors[ParticleRecord::kVelocity];
  const D3DXVECTOR3 a = p->vectors[ParticleRecord::kAcceleration];
  p->vectors[ParticleRecord::kVelocity] = u + a * dt;
  p->Position() += u * dt + a * (0.5f * dt * dt);
  return true;
}

bool PtclTr_PrmMultiplicator::Apply(float, ParticleRecord* p) {
  if (float* value = Target(p)) *value *= factor;
  return true;
}

bool PtclTr_RefMultiplicator::Apply(float, ParticleRecord* p) {
  if (float* value = Target(p); value != nullptr && factor != nullptr) *value *= *factor;
  return true;
}
