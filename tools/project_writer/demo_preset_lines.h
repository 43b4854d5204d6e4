#pragma once

#include "core/link/ds_file_link.h"

class DS_SlideContainer;
class ProjectBuilder;

// The pictures of the preset-tree lines, stored as frames.
struct DemoPresetLinePictures {
  DS_ImageFileLink softSpot;
  DS_ImageFileLink softStreak;  // soft across its width, even along its height
};

// Preset-tree lines on `slide`, about the centre of its width x height picture: trails fading
// behind a swarm of soft spots, and a glowing fractal curve, bright at its middle and tapering to
// its ends, lit from inside its edges by an inner glow.
void AddPresetLines(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                    const DemoPresetLinePictures& pictures);
