#include "particles/behaviour/particle/swarm_transforms.h"

#include <cmath>

#include "core/crt_rand.h"
#include "platform/math/d3dx_math.h"

D3DXVECTOR3 RandomFlyVelocity() {
  const D3DXVECTOR3 v(75.0f + 25.0f * crt_rand_unit(), 0.0f, 0.0f);
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, -(360.0f * crt_rand_unit()) * 0.017453292f);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &turn);
  return out;
}

float PtclTr_RandomFly::DrawRetargetTime(const RandomFlyPrm& fly) {
  const float r = fly.retargetRate.Scaled();
  return 0.5f / r + crt_rand_unit() * (1.5f / r - 0.5f / r);
}

bool PtclTr_RandomFly::Apply(float dt, ParticleRecord* p) {
  const float travel = fly->travelTime.Scaled();
  const bool in = shape == nullptr || shape->Contains(p->Position());
  if (!in) {
    const bool still = acceleration.x == 0.0f && acceleration.y == 0.0f && acceleration.z == 0.0f;
    if (inside || still) {
      D3DXVECTOR3 centre(0, 0, 0);
      shape->GetCenter(&centre);
      const D3DXVECTOR3 home = centre - p->Position();
      D3DXVECTOR3 u;
      D3DXVec3Normalize(&u, &home);
      acceleration = (u * 100.0f - velocity) / travel;
      accelerationTime = travel;
    }
    inside = false;
  } else {
    inside = true;
  }
  retargetTime -= dt;
  if (retargetTime < 0.0f) {
    retargetTime = DrawRetargetTime(*fly);
    if (inside) {
      acceleration = (RandomFlyVelocity() - velocity) / travel;
      accelerationTime = travel;
    }
  }
  accelerationTime -= dt;
  if (accelerationTime < 0.0f) {
    accelerationTime = 0.0f;
    acceleration = D3DXVECTOR3(0, 0, 0);
  }
  const float speed = fly->speed.Scaled();
  const float half = 0.5f * dt * dt;
  D3DXVECTOR3& at = p->Position();
  at.x += (velocity.x * dt + acceleration.x * half) * speed;
  at.y += (velocity.y * dt + acceleration.y * half) * speed * fly->vertical.Scaled();
  at.z += (velocity.z * dt + acceleration.z * half) * speed;
  p->Velocity() = velocity;
  velocity += acceleration * dt;
  D3DXVec3Normalize(&p->vectors[ParticleRecord::kDirection], &velocity);
  return true;
}

bool PtclTr_Flow::Apply(float dt, ParticleRecord* p) {
  const float theta = (scatterRandom - 0.5f) * 6.2831855f * flow->scatter.Scaled();
  const D3DXVECTOR3 across(std::cos(theta), -std::sin(theta), 0.0f);
  D3DXVECTOR3 d;
  D3DXVec3TransformCoord(&d, &across, &flow->direction.Matrix());
  const float s = flow->speed.Factor(speedRandom);
  p->Velocity() = d * s;
  p->Position() += p->Velocity() * dt;
  if (shape != nullptr && !shape->Contains(p->Position())) {
    D3DXVECTOR3& surface = p->vectors[ParticleRecord::kSurface];
    float uv[2] = {surface.x, surface.y};
    shape->RandomPoint(&p->Position(), uv);
    surface.x = uv[0];
    surface.y = uv[1];
    const D3DXVECTOR3 from = p->Position();
    shape->ClipRay(from, -d, &p->Position());
  }
  return true;
}
