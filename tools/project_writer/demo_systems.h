#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// The pictures the demo's ready-made particle systems are drawn with.
struct DemoSystemPictures {
  DS_ImageFileLink softSpot;    // a white soft spot
  DS_ImageFileLink sparkAtlas;  // four white sparks, 2 x 2
  DS_ImageFileLink smokePuff;   // a grey puff
  DS_ImageFileLink dropAtlas;   // a sliding drop and three still drops, 2 x 2
  DS_ImageFileLink bokehDisc;   // an out-of-focus light
  DS_ImageFileLink lightBand;   // a soft band of light
};

// The four slides of the ready-made systems, each on a 575 x 269 picture: rain on the glass in
// front of `sea`; fireflies, a swarm, a field of twinkling stars, bokeh and a flight through
// space in a screen glow on `night`; mist with fog, three smokes, shimmer, a vortex, a splash and
// a spray on `dawn`; and rays of light, a spinning picture and a picture on a path on `dawn`.
void AddParticleSystemSlides(ProjectBuilder& project, const DS_ImageFileLink& sea,
                             const DS_ImageFileLink& night, const DS_ImageFileLink& dawn,
                             const DemoSystemPictures& pictures);
