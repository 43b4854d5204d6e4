#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// A size line of /proc/self/status in MiB: "VmRSS" (resident now), "VmHWM" (peak resident);
// -1 where there is none.
inline long StatusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1) / 1024;
  return -1;
}
