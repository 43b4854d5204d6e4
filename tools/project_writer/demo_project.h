#pragma once

#include <cstdint>
#include <vector>

#include "core/zkw_string.h"

// A picture file: its name and bytes.
struct NamedPicture {
  zkw_string name;
  std::vector<uint8_t> bytes;
};

// The project the player carries and plays when it is given none: one slide per background,
// in order, each fading in and out while the camera drifts over its picture.
std::vector<uint8_t> WriteDemoProject(const std::vector<NamedPicture>& backgrounds);
