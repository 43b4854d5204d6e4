#pragma once

// The C library random generator that stored projects were made against: 15-bit results from a
// linear congruential state seeded with 1, one state per thread. Scenes scale its results by
// 1/32767 and depend on the exact sequence, so the platform's own rand is never used.
inline constexpr int kCrtRandMax = 0x7FFF;

int crt_rand();
// crt_rand() / 32767 in single precision: the scenes' random number in [0, 1].
inline float crt_rand_unit() {
  return static_cast<float>(crt_rand()) / 32767.0f;
}
void crt_srand(unsigned seed);
