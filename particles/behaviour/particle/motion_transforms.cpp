#include "particles/behaviour/particle/motion_transforms.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/noise/perlin_noise.h"
#include "particles/behaviour/particle/process_clock.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// Brings a coordinate that left [0, 1] back once; true when it did.
bool WrapOnce(float& x) {
  if (x > 1.0f) {
    x -= 1.0f;
    return true;
  }
  if (x < 0.0f) {
    x += 1.0f;
    return true;
  }
  return false;
}

}  // namespace

bool PtclTr_Loop::Apply(float, ParticleRecord* p) {
  if (shape == nullptr) return true;
  unsigned cursor = 1;
  const float s = loop->speed.FactorAt(r, 0.0f, &cursor);
  const D3DXVECTOR4& direction = loop->direction.Direction();
  const float du = s * direction.x, dv = s * direction.y;
  u += du;
  v += dv;
  if (loop->edgeMode.Value() == 1) {
    if (u < 0.0f || u > 1.0f || v < 0.0f || v > 1.0f) return false;
  } else {
    bool jumped = false;
    if (!shape->IsClosed()) jumped |= WrapOnce(u);
    if (!shape->IsClosedV()) jumped |= WrapOnce(v);
    if (jumped) p->flags |= ParticleRecord::kJumped;
  }
  shape->PointAtUV(u, v, &p->Position(), nullptr);
  const float uv[2] = {u, v};
  D3DXVECTOR3 t1(1, 0, 0), t2(0, 1, 0);
  if (shape->NormalAtParam(p->Position(), uv, &t1, &t2)) {
    p->Velocity() = t1 * du + t2 * dv;
  } else {
    p->Velocity() = D3DXVECTOR3(du * t1.x - dv * t1.y, dv * t1.x + du * t1.y, du * t1.z);
  }
  return true;
}

bool PtclTr_Spiral::Apply(float, ParticleRecord* p) {
  D3DXVECTOR3 centre(0, 0, 0);
  if (shape != nullptr) shape->GetCenter(&centre);
  centre += spiral->centreOffset.Value();
  if (offset != nullptr) centre += offset->Value();
  const int mode = spiral->directionMode.Value();
  const float d = mode == 1 ? -1.0f : mode == 2 ? static_cast<float>(sign) : 1.0f;
  const float omega = spiral->angularSpeed.Factor(r) * d * kRadiansPerDegree;
  // Outward for 0, inward for 1; in float, so that any stored Int32 stays defined.
  const float w =
      spiral->radialSpeed.Factor(r) * (1.0f - 2.0f * static_cast<float>(spiral->inward.Value()));
  const D3DXVECTOR3 q = p->Position() - centre;
  const float length = D3DXVec3Length(&q);
  D3DXVECTOR3 n;
  if (length > 0.0f) {
    n = q / length;
  } else {
    const float a = -(crt_rand_unit() * 360.0f) * kRadiansPerDegree;
    n = D3DXVECTOR3(std::cos(a), std::sin(a), 0.0f);
  }
  p->Velocity() = D3DXVECTOR3(-n.y * length * omega, n.x * length * omega, 0.0f) + n * w;
  return true;
}

bool PtclTr_VelocityField::Apply(float, ParticleRecord* p) {
  const double t = static_cast<double>(ProcessClockMs()) / 1000.0 * 0.1 *
                   static_cast<double>(field->noiseSpeed.Scaled());
  const double scale = 0.01 * static_cast<double>(field->noiseScale.Scaled());
  const D3DXVECTOR3& at = p->Position();
  const float nx =
      static_cast<float>(ImprovedPerlinNoise3D(field->permutationX, at.x * scale, at.y * scale, t));
  const float ny =
      static_cast<float>(ImprovedPerlinNoise3D(field->permutationY, at.x * scale, at.y * scale, t));
  const float g = field->drift.Factor(r);
  const D3DXVECTOR4& drift = field->driftDirection.Direction();
  const float strength = field->strength.Scaled();
  p->Velocity() =
      D3DXVECTOR3(nx * strength + drift.x * g, ny * strength + drift.y * g, drift.z * g);
  return true;
}
