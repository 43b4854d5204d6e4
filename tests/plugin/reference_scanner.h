#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_host.h"

namespace unreal_test {

// What PrecompInit left for the scanners.
struct ReferenceConfig {
  bool ue3 = false;
  bool ue4 = false;
  bool ue5 = false;
  std::u16string ue4_method;
  bool ue4_key = false;
  int32_t ue4_key_id = -1;
  bool ue5_key = false;
  int32_t ue5_key_id = -1;
};

// A plain scanner that moves byte by byte exactly as the scanning frame describes, with the
// same guards as the plug-in (among them the bound on rejected ue4 entries), and returns the calls
// the plug-in should make (SHA-1 answered truthfully).
std::vector<Event> ReferenceScan(const ReferenceConfig& config, const uint8_t* data, int64_t size,
                                 int64_t available, int32_t instance);

}  // namespace unreal_test
