#include "particles/behaviour/particle/force_transforms.h"

bool PtclTr_StandardForces::Apply(float, ParticleRecord* p) {
  if (forces == nullptr) return true;
  const int gravityMode = forces->gravityMode.Value();
  float g = gravityMode > 0 ? forces->gravity.Scaled() : 0.0f;
  if (gravityMode > 1) g = -g;

  const D3DXVECTOR3 v = p->vectors[ParticleRecord::kVelocity];
  const D3DXVECTOR3 n = p->vectors[ParticleRecord::kDirection];
  const float drag = forces->drag.Scaled();
  const int dragMode = forces->dragMode.Value();
  D3DXVECTOR3 force(0, 0, 0);
  if (dragMode > 2) {
    force = v * drag;
  } else if (dragMode >= 1) {
    float q = v.x * v.x + v.y * v.y + v.z * v.z;
    if (dragMode == 1 && size != nullptr) {
      const float s = size->spread.Scaled();
      q *= s + p->floats[ParticleRecord::kRandom7] * (1.0f - s);
    }
    force = n * (drag * 0.02f * q);
  }
  D3DXVECTOR3& acc = p->vectors[ParticleRecord::kAcceleration];
  acc.x += force.x;
  acc.y += force.y + g;
  acc.z += force.z;
  return true;
}
