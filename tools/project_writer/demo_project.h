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
// in order, each fading in and out while the camera drifts over its picture; then the
// backgrounds named "sea.png" under water and "night.png" on fire (when given); then, when the
// pictures "soft_spot.png", "spark_atlas.png" and "smoke_puff.png" are among `pictures` and
// "night.png" among the backgrounds, a slide of particle systems on the night; and the music
// file (when not null) as its background music, carried in the project.
std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music = nullptr,
                                      const std::vector<NamedFile>& pictures = {});
