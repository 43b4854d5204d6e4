#pragma once

#include <cmath>
#include <concepts>
#include <limits>

// Truncates towards zero like a C cast, but saturates at the integer type's range and gives 0
// for NaN, where the C cast would be undefined. Every float-to-integer conversion of values that
// come from files or arithmetic goes through it.
template <std::integral Int>
Int SaturatingTruncate(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
  // The first value above the range; exact for every integer width.
  constexpr double kHigh = (static_cast<double>(std::numeric_limits<Int>::max() / 2 + 1)) * 2.0;
  if (value <= kLow) return std::numeric_limits<Int>::min();
  if (value >= kHigh) return std::numeric_limits<Int>::max();
  return static_cast<Int>(value);
}
