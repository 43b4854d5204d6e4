#pragma once

#include <cmath>

#include "platform/math/d3dx_types.h"

// The plane arithmetic of the offsetters. Points and directions are (x, y); "left" of a
// direction (dx, dy) is (-dy, dx) and "right" is (dy, -dx).
namespace offset_math {

// Points or turns closer than this count as the same.
inline constexpr double kTolerance = 1e-6;

inline float Dot(const D3DXVECTOR2& a, const D3DXVECTOR2& b) {
  return a.x * b.x + a.y * b.y;
}
// a.x b.y - a.y b.x: positive when b turns to the left of a.
inline float Cross(const D3DXVECTOR2& a, const D3DXVECTOR2& b) {
  return a.x * b.y - a.y * b.x;
}
inline D3DXVECTOR2 LeftOf(const D3DXVECTOR2& d) {
  return {-d.y, d.x};
}
inline D3DXVECTOR2 RightOf(const D3DXVECTOR2& d) {
  return {d.y, -d.x};
}
inline bool IsZero(const D3DXVECTOR2& v) {
  return v.x == 0.0f && v.y == 0.0f;
}

// The length of d: the square root, in double precision, of the float sum of squares.
inline float Length(const D3DXVECTOR2& d) {
  return static_cast<float>(std::sqrt(static_cast<double>(d.x * d.x + d.y * d.y)));
}
// d divided by `length`; (0, 0) for a zero length.
inline D3DXVECTOR2 Divided(const D3DXVECTOR2& d, float length) {
  return length != 0.0f ? d / length : D3DXVECTOR2();
}
// The unit vector of v; (0, 0) for a zero vector.
inline D3DXVECTOR2 Normalized(const D3DXVECTOR2& v) {
  return Divided(v, Length(v));
}
// 1 / |value|: the speed of a vertex whose motion makes that cross product with its line. A zero
// or unusable value (a vertex that moves along its own line) gives speed 1.
inline float SpeedFromCross(float value) {
  const float speed = 1.0f / std::fabs(value);
  return std::isfinite(speed) ? speed : 1.0f;
}
// Both coordinates within the tolerance, the differences taken in double precision.
inline bool Coincide(const D3DXVECTOR2& a, const D3DXVECTOR2& b) {
  return std::fabs(static_cast<double>(a.x) - b.x) <= kTolerance &&
         std::fabs(static_cast<double>(a.y) - b.y) <= kTolerance;
}

}  // namespace offset_math
