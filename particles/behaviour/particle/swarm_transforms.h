#pragma once

#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/params/flow_prm.h"
#include "particles/behaviour/params/random_fly_prm.h"
#include "particles/behaviour/particle/particle_record.h"
#include "platform/math/d3dx_types.h"

// The motions of the swarm's and the flow's particles. Each points into its physics (the shape
// and the parameter block), which outlives its particles. A null shape bounds nothing.

// A start or target velocity of a swarm particle: length 75 to 100 in the x-y plane, turned about
// z by minus a random angle (two draws: the length, then the angle).
D3DXVECTOR3 RandomFlyVelocity();

// Flies at random towards new target velocities, steering back to the shape's centre when the
// particle leaves the shape.
class PtclTr_RandomFly : public ZKW_PtclTransform {
 public:
  PtclTr_RandomFly(const ZKW_VGeom2D* shape, const RandomFlyPrm* fly, const D3DXVECTOR3& velocity,
                   float retargetTime)
      : shape(shape), fly(fly), velocity(velocity), retargetTime(retargetTime) {}
  bool Apply(float dt, ParticleRecord* p) override;
  // 0.5 / r to 1.5 / r seconds, r the retarget rate (one draw).
  static float DrawRetargetTime(const RandomFlyPrm& fly);

  const ZKW_VGeom2D* shape;
  const RandomFlyPrm* fly;
  D3DXVECTOR3 velocity;
  D3DXVECTOR3 acceleration{0, 0, 0};
  float accelerationTime = 0.0f;
  float retargetTime;
  bool inside = true;
};

// Streams the particle through the shape in the flow's direction, scattered; a particle that
// leaves the shape re-enters where a ray from a random point of it against the flow leaves it.
class PtclTr_Flow : public ZKW_PtclTransform {
 public:
  PtclTr_Flow(const ZKW_VGeom2D* shape, const FlowPrm* flow, float speedRandom, float scatterRandom)
      : shape(shape), flow(flow), speedRandom(speedRandom), scatterRandom(scatterRandom) {}
  bool Apply(float dt, ParticleRecord* p) override;

  const ZKW_VGeom2D* shape;
  const FlowPrm* flow;
  float speedRandom;
  float scatterRandom;
};
