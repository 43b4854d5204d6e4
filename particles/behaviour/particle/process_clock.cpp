#include "particles/behaviour/particle/process_clock.h"

#include <chrono>

namespace {

const std::chrono::steady_clock::time_point kProcessStart = std::chrono::steady_clock::now();

int64_t (*g_clock)() = nullptr;

}  // namespace

int64_t ProcessClockMs() {
  if (g_clock != nullptr) return g_clock();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               kProcessStart)
      .count();
}

void SetProcessClockForTesting(int64_t (*clock)()) {
  g_clock = clock;
}
