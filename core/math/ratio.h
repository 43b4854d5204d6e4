#pragma once

// a / b, or 0 where b is 0: sizes that are not known yet give no position or scale, not inf or
// NaN.
inline float RatioOr0(float a, float b) {
  return b != 0.0f ? a / b : 0.0f;
}
