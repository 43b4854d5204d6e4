#pragma once

#include <cstdint>
#include <vector>

#include "core/zkw_string.h"

// A file the project carries: its name and bytes.
struct NamedFile {
  zkw_string name;
  std::vector<uint8_t> bytes;
};

// The project the player carries and plays when it is given none: a title card on the background
// named "night.png" (when `pictures` hold the build's text art, demo_text.h), one slide per
// background in order with the camera drifting over it, then slides that show the kinds of the
// player on the backgrounds that suit them: each renderer kind, the brushes, the sprite presets
// and the particle systems. `pictures` holds the pictures those objects draw with, by file name
// (the radial mask "66.png", the particle and sprite pictures); a background or picture missing
// leaves out what it is for. The music file (when not null) is its background music, carried in
// the project. `meshes` holds the meshes objects draw ("leaf.x", with the picture "leaf.png", for
// the garden's drifting leaves).
std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music = nullptr,
                                      const std::vector<NamedFile>& pictures = {},
                                      const std::vector<NamedFile>& meshes = {});
