#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// The pictures the demo's lines and paths are drawn with.
struct DemoLinePictures {
  DS_ImageFileLink softStreak;  // a white band, soft across: the strips
  DS_ImageFileLink tearDrop;    // a pale blue drop, its point up
  DS_ImageFileLink softSpot;    // a white soft spot
  DS_ImageFileLink sparkAtlas;  // four white sparks, 2 x 2
};

// A slide on `background` (a 575 x 269 picture) with one of each line kind: a growing line with
// a glowing head that grows in and retracts, a sliding line running each way in turn, shooting
// lines, tears running down, a waving line and a line that multiplies the picture below.
void AddLineSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                  const DemoLinePictures& pictures);

// A slide on `background` with particles carried along paths, one with a harmonic wobble and one
// with a Perlin wobble, and a trace writing a curve once in each of its shown phases.
void AddPathSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                  const DemoLinePictures& pictures);
