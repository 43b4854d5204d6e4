#include "particles/behaviour/particle/track_transforms.h"

#include <cmath>

#include "core/math/matrix_helpers.h"
#include "platform/math/d3dx_math.h"

namespace {

// The curve's length when it can be followed: a curve that is missing or of no (or no finite)
// length gives 0.
float UsableLength(const SmartCurve* curve) {
  const ZKW_VGeom2D_Curve* shape = curve != nullptr ? curve->Get() : nullptr;
  if (shape == nullptr) return 0.0f;
  const float length = shape->Length();
  return std::isfinite(length) && length > 0.0f ? length : 0.0f;
}

float Ease(int easing, float t) {
  switch (easing) {
    case 1:
      return 1.0f - (std::cos(3.14159265f * t) + 1.0f) * 0.5f;
    case 2:
      return t * t;
    case 3:
      return 3.0f * t * t - 2.0f * t * t * t;
    case 4:
      return t * t * t * (6.0f * t * t - 15.0f * t + 10.0f);
    default:
      return t;
  }
}

}  // namespace

float PtclTr_FollowCurve::Progress(float dt, float length, ParticleRecord* p) {
  float& laps = p->floats[ParticleRecord::kLife];
  for (;;) {
    if (timer >= 0.0f) {
      timer -= dt;
      if (timer >= 0.0f) {
        if ((state == 0 && pauses->hideAtStart.Value() != 0) ||
            (state == 1 && pauses->hideAtEnd.Value() != 0))
          p->floats[ParticleRecord::kAlpha] = 0.0f;
        return static_cast<float>(state);
      }
      const float overshoot = -timer;
      if (motion->bounce.Value() == 0 && state == 1) {
        state = 0;
        timer = pauses->startPause.Scaled() - overshoot;
      } else {
        state = 2;
      }
      dt = overshoot;
      continue;
    }
    travelled += motion->speed.Scaled() * dt;
    const float f = travelled / length;
    if (std::trunc(f) != std::trunc(laps)) {
      laps = f;
      if (returning) {
        state = 0;
        timer = pauses->startPause.Scaled();
      } else {
        state = 1;
        timer = pauses->endPause.Scaled();
      }
      dt = 0.0f;
      continue;
    }
    laps = f;
    float t;
    if (motion->bounce.Value() == 0) {
      t = f - std::trunc(f);
    } else {
      const float half = f * 0.5f;
      const float g = half - std::trunc(half);
      returning = g >= 0.5f;
      t = 1.0f - 2.0f * std::fabs(g - 0.5f);
    }
    return Ease(motion->easing.Value(), t);
  }
}

void PtclTr_FollowCurve::Orient(D3DXVECTOR3 d, ParticleRecord* p) const {
  D3DXMATRIX flip, turn;
  D3DXMatrixIdentity(&flip);
  D3DXMatrixIdentity(&turn);
  switch (motion->orientation.Value()) {
    case 1: {
      D3DXVECTOR3 n;
      D3DXVec3Normalize(&n, &d);
      RotationZBetweenVectors(&turn, n.x, n.y, n.z, 1.0f, 0.0f, 0.0f);
      if (returning) flip._11 = -1.0f;
      break;
    }
    case 2:
      if (returning) d = -d;
      if (d.x < 0.0f) flip._11 = -1.0f;
      break;
    case 3:
      if (returning) d = -d;
      if (d.y > 0.0f) flip._22 = -1.0f;
      break;
    default:
      break;
  }
  p->rotationA = p->rotationA * (flip * turn);
}

bool PtclTr_FollowCurve::Apply(float dt, ParticleRecord* p) {
  const float length = UsableLength(curve);
  if (length <= 0.0f) return true;
  const float t = Progress(dt, length, p);
  D3DXVECTOR3 d(1, 0, 0);
  curve->Get()->PointAtLength(t * length, 0.0f, &p->Position(), &d);
  Orient(d, p);
  return true;
}

bool PtclTr_PerspectivePath::Apply(float dt, ParticleRecord* p) {
  const float length = UsableLength(curve);
  if (length <= 0.0f) return true;
  const float depth = motion->depth.Scaled();
  const bool reverse = motion->reverse.Value() != 0;
  float t = Progress(dt, kWayLength, p);
  if (reverse) t = 1.0f - t;
  // (1/D) / (t + 1/D) and t (L/D + L) / (t + 1/D), written so that a depth of 0 is no
  // perspective instead of a division by 0.
  const float near = 1.0f + depth * t;
  p->floats[ParticleRecord::kScale] = 1.0f / near;
  float s = length * t * (1.0f + depth) / near;
  if (reverse) s = length - s;
  D3DXVECTOR3 d(1, 0, 0);
  curve->Get()->PointAtLength(s, 0.0f, &p->Position(), &d);
  Orient(d, p);
  return true;
}
