#pragma once

#include <cmath>

// a / b, or 0 where b is 0: sizes that are not known yet give no position or scale, not inf or
// NaN.
inline float RatioOr0(float a, float b) {
  return b != 0.0f ? a / b : 0.0f;
}

// (x, y) scaled to unit length; a vector of no length (or not finite) stays as it is, scaled by
// nothing.
inline void NormalizeOr0(float& x, float& y) {
  const float length = std::sqrt(x * x + y * y);
  if (length == 0.0f || !std::isfinite(length)) return;
  x /= length;
  y /= length;
}
