#pragma once

#include <cstdint>
#include <vector>

#include "core/zkw_string.h"

// A file the project carries: its name and bytes.
struct NamedFile {
  zkw_string name;
  std::vector<uint8_t> bytes;
};

// The project the player carries and plays when it is given none: one slide per background,
// in order, each fading in and out while the camera drifts over its picture; then (when given)
// the background named "sea.png" under water, "night.png" on fire, "dawn.png" mirrored in a lake
// with a ripple map of its own, and "sea.png" again under falling drops; and the music file
// (when not null) as its background music, carried in the project.
std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music = nullptr);
