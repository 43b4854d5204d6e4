#include "particles/behaviour/sources/swarm_motion.h"

#include <cmath>

#include "core/crt_rand.h"
#include "particles/behaviour/particle/swarm_transforms.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "platform/math/d3dx_math.h"

bool PtclTr_Brownian::Apply(float dt, ParticleRecord* p) {
  if (swarm == nullptr) return true;
  const D3DXVECTOR3 centre = swarm->position.Value();
  const float halfWidth = static_cast<float>(swarm->width.Value()) / 2.0f;
  const float halfHeight = static_cast<float>(swarm->height.Value()) / 2.0f;
  const float travel = swarm->travelTime.Scaled();
  const float rate = swarm->retargetRate.Scaled();
  D3DXVECTOR3& position = p->Position();

  const bool outside =
      std::fabs(position.x - centre.x) > halfWidth || std::fabs(position.y - centre.y) > halfHeight;
  if (outside) {
    const bool still = acceleration.x == 0.0f && acceleration.y == 0.0f && acceleration.z == 0.0f;
    if (inside || still) {
      const D3DXVECTOR3 home = centre - position;
      D3DXVECTOR3 u;
      D3DXVec3Normalize(&u, &home);
      acceleration = (u * 100.0f - velocity) / travel;
      travelTimer = travel;
    }
    inside = false;
  } else {
    inside = true;
  }

  retargetTime -= dt;
  if (retargetTime < 0.0f) {
    retargetTime = crt_rand_unit() * (1.5f / rate - 0.5f / rate) + 0.5f / rate;
    if (inside) {
      const D3DXVECTOR3 target = RandomFlyVelocity();
      acceleration = (target - velocity) / travel;
      travelTimer = travel;
    }
  }

  travelTimer -= dt;
  if (travelTimer < 0.0f) {
    acceleration = D3DXVECTOR3(0, 0, 0);
    travelTimer = 0.0f;
  }

  position += (acceleration * (dt * dt / 2.0f) + velocity * dt) * swarm->speed.Scaled();
  p->Velocity() = velocity;
  velocity += acceleration * dt;
  D3DXVec3Normalize(&p->vectors[ParticleRecord::kDirection], &velocity);
  return true;
}
