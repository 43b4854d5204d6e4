#include "objects/sprites/generators/particle_origin.h"

#include <cstddef>

#include "platform/math/d3dx_math.h"

namespace {

float P(const ParticleOrigin::Parameters& p, size_t i) {
  return p[i];
}

}  // namespace

void ParticleOrigin::SetBehaviours(std::initializer_list<Step> steps) {
  behaviourCount = 0;
  for (const Step& step : steps) {
    if (behaviourCount == kMaxBehaviours) break;
    behaviours[behaviourCount++] = step;
  }
}

void ParticleOrigin::RunBehaviours(float dt) {
  for (uint8_t i = 0; i < behaviourCount; ++i)
    if (behaviours[i].function != nullptr)
      behaviours[i].function(*this, dt, behaviours[i].parameters);
}

void OriginMove(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& /*p*/) {
  o.position += o.velocity * dt + o.acceleration * (dt * dt * 0.5f);
  o.velocity += o.acceleration * dt;
}

void OriginGrow(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p) {
  o.size += P(p, 0) * dt;
}

void OriginFadeIn(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p) {
  if (o.life > P(p, 1)) o.opacity += P(p, 0) * dt;
}

void OriginFadeOut(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p) {
  if (P(p, 1) > o.life) o.opacity -= P(p, 0) * dt;
}

void OriginSpin(ParticleOrigin& o, float dt, const ParticleOrigin::Parameters& p) {
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, dt * 3.1415927f * P(p, 0) / 180.0f);
  const D3DXVECTOR3 a = o.axis1, b = o.axis2;
  D3DXVec3TransformCoord(&o.axis1, &a, &turn);
  D3DXVec3TransformCoord(&o.axis2, &b, &turn);
}
