#pragma once

#include <ctime>

// Processor time of the whole process in seconds: every thread, the GL driver's included.
inline double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
