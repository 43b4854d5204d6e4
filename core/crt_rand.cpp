#include "core/crt_rand.h"

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

thread_local uint32_t g_state = 1;

uint32_t Step(uint32_t& state) {
  state = state * kMultiplier + kIncrement;
  return (state >> 16) & 0x7FFF;
}

}  // namespace

int crt_rand() {
  return static_cast<int>(Step(g_state));
}

void crt_srand(unsigned seed) {
  g_state = seed;
}

uint32_t crt_rand_state() {
  return g_state;
}

void crt_rand_discard(uint64_t count) {
  // n steps of s -> a s + c are s -> A s + C; square the step while halving n.
  uint32_t a = kMultiplier, c = kIncrement;
  uint32_t totalA = 1, totalC = 0;
  for (; count > 0; count >>= 1) {
    if (count & 1) {
      totalA *= a;
      totalC = totalC * a + c;
    }
    c = (a + 1) * c;
    a *= a;
  }
  g_state = totalA * g_state + totalC;
}

int CrtRandSequence::Next() {
  return static_cast<int>(Step(state_));
}
