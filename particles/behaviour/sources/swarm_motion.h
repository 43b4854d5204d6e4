#pragma once

#include "particles/behaviour/particle/particle_record.h"
#include "platform/math/d3dx_types.h"

class ZKW_PSGeometry_Swarm;

// Wanders a swarm particle inside its swarm's box about the swarm's position: new random target
// velocities now and then, and a turn home when it leaves the box (no new targets until it is
// back inside).
class PtclTr_Brownian : public ZKW_PtclTransform {
 public:
  PtclTr_Brownian(const ZKW_PSGeometry_Swarm* swarm, const D3DXVECTOR3& velocity,
                  float retargetTime)
      : swarm(swarm), velocity(velocity), retargetTime(retargetTime) {}
  bool Apply(float dt, ParticleRecord* p) override;

  const ZKW_PSGeometry_Swarm* swarm;
  D3DXVECTOR3 velocity;
  D3DXVECTOR3 acceleration{0, 0, 0};
  float travelTimer = 0.0f;
  float retargetTime;
  bool inside = true;
};
