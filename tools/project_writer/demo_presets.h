#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// The pictures of the "Presets" slide, stored as frames.
struct DemoPresetPictures {
  DS_ImageFileLink softSpot;
  DS_ImageFileLink flareAtlas;  // 4 x 4 cells
  DS_ImageFileLink lightBand;
  DS_ImageFileLink smokePuff;
};

// A "Presets" slide on `background` (`width` x `height`): a preset tree at the picture's centre
// whose point stem carries a sector and a circular emitter (soft spots glowing normally,
// balloons of three pictures), a swarm of flare cells glowing over the picture below, a swarm
// trailing fading spots, a breathing grid and sparks along a path, and a ready-made preset of
// one glowing point.
void AddPresetsSlide(ProjectBuilder& project, const DS_ImageFileLink& background, float width,
                     float height, const DemoPresetPictures& pictures);
