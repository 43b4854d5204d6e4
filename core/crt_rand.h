#pragma once

#include <cstdint>

// The C library random generator that stored projects were made against: 15-bit results from a
// linear congruential state seeded with 1, one state per thread. Scenes scale its results by
// 1/32767 and depend on the exact sequence, so the platform's own rand is never used.
inline constexpr int kCrtRandMax = 0x7FFF;

int crt_rand();
void crt_srand(unsigned seed);

// One draw scaled to [0, 1]: crt_rand() / 32767, so 1.0 is included.
inline float crt_rand_unit() {
  return static_cast<float>(crt_rand()) / static_cast<float>(kCrtRandMax);
}

// The calling thread's generator state; crt_srand(state) resumes the sequence from it.
uint32_t crt_rand_state();
// Moves the calling thread's sequence on by `count` draws at once, as that many crt_rand calls
// would (in time logarithmic in the count).
void crt_rand_discard(uint64_t count);

// The same sequence with a state of its own, starting from a state of the thread's generator:
// it lets a draw that the thread's sequence has already passed (crt_rand_discard) be made later.
class CrtRandSequence {
 public:
  explicit CrtRandSequence(uint32_t state) : state_(state) {}
  int Next();
  float NextUnit() { return static_cast<float>(Next()) / static_cast<float>(kCrtRandMax); }

 private:
  uint32_t state_;
};
