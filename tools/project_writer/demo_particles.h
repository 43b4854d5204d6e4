#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// The pictures the demo's particles are drawn with.
struct DemoParticlePictures {
  DS_ImageFileLink softSpot;    // a white soft spot
  DS_ImageFileLink sparkAtlas;  // four white sparks, 2 x 2
  DS_ImageFileLink smokePuff;   // a grey puff
};

// A slide on `background` (a 575 x 269 picture) with one of each burst and fountain kind: sparks
// added up under a glow, fire, a fire stream, smoke drifting in the wind, a water jet falling
// back, light beams in a screen glow and a burst that bursts as it fades in.
void AddParticleSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                      const DemoParticlePictures& pictures);
