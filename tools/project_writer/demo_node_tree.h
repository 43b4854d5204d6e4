#pragma once

#include <cstdint>
#include <memory>

#include "core/ds_safe_ptr.h"
#include "core/link/ds_file_link.h"
#include "player/resources/zkw_texture_src.h"

class ProjectBuilder;
class ZKW_TextureSRC;

// The pictures the demo's node-tree particle system draws with, stored as frames.
struct DemoNodeTreePictures {
  DS_ImageFileLink flareAtlas;  // 16 frames of a flaring sparkle, 4 x 4
  DS_ImageFileLink softSpot;    // a white soft spot
};

// A texture source of the picture stored under `link`, in an atlas of columns x rows cells that
// the particles play (mode 0).
DS_SafePtr<ZKW_TextureSRC> NodeTreeSource(const DS_ImageFileLink& link, uint32_t columns,
                                          uint32_t rows);

// A "Particles" slide on `background` (a 575 x 269 picture) with one node-tree system, stored as
// its builder: a spinning root; a Blank node over a picture that plays its atlas; an exploding
// picture that bursts into 100 spinning pieces every second and comes back whole.
void AddNodeTreeSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                      const DemoNodeTreePictures& pictures);
