#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// The pictures the demo's particle streams draw with, stored as frames.
struct DemoStreamsPictures {
  DS_ImageFileLink softSpot;   // a white soft spot
  DS_ImageFileLink lightBand;  // a band of light, scrolled
};

// A "Streams" slide on `background` (a 575 x 269 picture) with one node-tree system, stored as
// its builder: a fountain under gravity, a radial burst, a spiral, a tunnel, a swarm and a flow
// in rectangles, looping fixed spots, a lattice sweep, a bouncing track along a B-spline, a
// perspective track, a scrolling texture and a burst of pieces of the slide's own picture.
void AddStreamsSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                     const DemoStreamsPictures& pictures);
