#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/res/resource_name.h"

namespace res {

// One resource found in a PE file: its type, name and language, and where its bytes lie in the
// file.
struct PeResource {
  ResName type;
  ResName name;
  uint16_t language = 0;
  size_t offset = 0;
  size_t size = 0;
};

// Reads the resource directory of a PE file (PE32 or PE32+) held in memory, mapping the data
// RVAs through the section table. Nothing of the file is executed. Answers nothing for bytes
// that are not a PE file; a PE file without resources gives an empty list. Entries that point
// outside the file are skipped; the walk and the names it keeps are bounded, so damaged files
// cannot make it loop or run out of memory.
std::optional<std::vector<PeResource>> ReadPeResources(std::span<const uint8_t> image);

}  // namespace res
