#include "objects/text3d/text_motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/math/d3dx_math.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kRadiansPerDegree = 0.017453292f;

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

// `m` applied about `pivot`: Translation(-pivot) x m x Translation(pivot).
D3DXMATRIX About(const D3DXVECTOR3& pivot, const D3DXMATRIX& m) {
  return Translation(-pivot.x, -pivot.y, -pivot.z) * m * Translation(pivot.x, pivot.y, pivot.z);
}

D3DXMATRIX Scaling(float s) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, s, s, s);
  return m;
}

D3DXMATRIX RotationY(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, degrees * kRadiansPerDegree);
  return m;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

}  // namespace

D3DXMATRIX TextBaseMatrix(float size, const D3DXVECTOR3& position, float cx, float cy) {
  D3DXMATRIX turn;
  D3DXMatrixRotationX(&turn, kPi);
  return Scaling(size) * turn *
         Translation(position.x - cx * size, position.y + cy * size, position.z);
}

D3DXMATRIX ObjectMotionMatrix(int kind, int axis, float phase, float amplitude,
                              const D3DXVECTOR3& pivot) {
  if (kind == 4) return About(pivot, Scaling(std::sin(0.1f * phase) * amplitude * 0.01f + 1.0f));
  float degrees = 0.0f;
  switch (kind) {
    case 1:
      degrees = phase;
      break;
    case 2:
      degrees = -phase;
      break;
    case 3:
      degrees = std::sin(0.1f * phase) * amplitude;
      break;
    default:
      return Identity();
  }
  if (axis < 0 || axis > 2) return Identity();
  const D3DXVECTOR3 unit(axis == 0 ? 1.0f : 0.0f, axis == 1 ? 1.0f : 0.0f, axis == 2 ? 1.0f : 0.0f);
  D3DXMATRIX rotation;
  D3DXMatrixRotationAxis(&rotation, &unit, degrees * kRadiansPerDegree);
  return About(pivot, rotation);
}

float GlyphPhase(float glyphTime, int index, float delay, int loop, float period,
                 float glyphSpeed) {
  float f = glyphTime - static_cast<float>(index) * delay;
  if (loop == 1) {
    const float p = period * glyphSpeed;
    if (p == 0.0f) {
      f = 0.0f;
    } else {
      const float cycles = f / p;
      f = (cycles - std::trunc(cycles)) * p;
      if (f > 1.0f || f < 0.0f) f = 0.0f;
    }
  }
  if (!std::isfinite(f)) return 1.0f;
  return 1.0f - 2.0f * (f - std::floor(f));
}

D3DXMATRIX GlyphMotionMatrix(int kind, float q, float amplitude, float textHeight,
                             const D3DXVECTOR3& centre) {
  const float h = textHeight * 0.01f * amplitude;
  switch (kind) {
    case 1:
      return Translation(0.0f, h * (1.0f - q * q), 0.0f);
    case 2:
      return About(centre, RotationY((q - 1.0f) * 180.0f));
    case 3:
      return Translation(0.0f, std::sin(q * kPi) * h, 0.0f);
    case 4:
      return About(centre, RotationY(std::sin(q * kPi) * amplitude * 0.9f));
    case 5:
    case 6: {
      const float sign = kind == 5 ? 1.0f : -1.0f;
      return About(centre,
                   Scaling((std::cos(q * kPi) + 1.0f) * amplitude * 0.005f * sign * 0.5f + 1.0f));
    }
    default:
      return Identity();
  }
}

D3DXMATRIX ArcMatrix(float degrees, int side, const TextBox& text, float gx) {
  const float width = text.x1 - text.x0;
  if (degrees == 0.0f || width == 0.0f) return Identity();
  float r = width / (degrees * kRadiansPerDegree);
  if (side == 0) r = -r;
  const float x = text.CentreX();
  const float theta = (gx - x) / r;
  const float pivotY = side != 0 ? text.y1 : text.y0;
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, -theta);
  return Translation(-gx, -pivotY, 0.0f) * turn * Translation(gx, pivotY, 0.0f) *
         Translation(std::sin(theta) * r + x - gx, -(r - std::cos(theta) * r), 0.0f);
}

D3DXVECTOR3 TextLightDirection(float angleA, float angleB) {
  const float a = angleA * kRadiansPerDegree;
  const float b = angleB * kRadiansPerDegree;
  const float x = std::cos(a);
  const float y = std::cos(b) * std::sin(a);
  return D3DXVECTOR3(x, y, std::sqrt(std::max(0.0f, 1.0f - x * x - y * y)));
}
