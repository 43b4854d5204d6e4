#include "core/crt_rand.h"

#include <cstdint>

namespace {
thread_local uint32_t g_state = 1;
}

int crt_rand() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFF);
}

void crt_srand(unsigned seed) {
  g_state = seed;
}
