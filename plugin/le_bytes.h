#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace unreal {

static_assert(std::endian::native == std::endian::little,
              "scanned data is little-endian and read in place");

// Reads a little-endian value at any alignment; the caller has checked the bounds.
template <typename T>
inline T Load(const uint8_t* data, int64_t position) {
  T value;
  std::memcpy(&value, data + position, sizeof(T));
  return value;
}

// position + size, or -1 when it overflows (every caller compares against a non-negative bound).
inline int64_t CheckedAdd(int64_t position, int64_t size) {
  int64_t sum;
  return __builtin_add_overflow(position, size, &sum) ? -1 : sum;
}

}  // namespace unreal
