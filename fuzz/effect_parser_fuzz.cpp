// Reads arbitrary bytes as effect text, as effects stored in a project are read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/effect/effect_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto desc = gfx::ParseEffect("fuzz", {reinterpret_cast<const char*>(data), size}, &error);
  return desc ? int(desc->techniques.size() == 0) : int(error.empty());
}
