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
// in order, each fading in and out while the camera drifts over its picture, the one named
// "sea.png" in waves; then that sea under water, the background named "night.png" on fire,
// "dawn.png" mirrored in a lake with a ripple map of its own, and "sea.png" again under falling
// drops; then "dawn.png" distorted by brushes, the night again with stars, moonlight and a
// discharge of sprite presets, and (when "soft_spot.png", "spark_atlas.png" and
// "smoke_puff.png" are among `pictures`) the night with particle systems; then a garden on
// "dawn.png" with butterflies, a clock and (when `meshes` holds "leaf.x" and `pictures`
// "leaf.png") drifting leaves; and the music file (when not null) as its background music,
// carried in the project. The radial mask "66.png" (when `pictures` holds it) limits the sea's
// rings and the dawn's swirl. Each background missing leaves out what it is for.
std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music = nullptr,
                                      const std::vector<NamedFile>& pictures = {},
                                      const std::vector<NamedFile>& meshes = {});
