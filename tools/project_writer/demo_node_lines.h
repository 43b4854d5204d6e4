#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// A "Node lines" slide on `background` (a 575 x 269 picture) with one node-tree system, stored as
// its builder, whose lines ride on particle streams and draw `band` (a band of light) along
// them: comets bursting out with tapering tails behind them, a fountain of strokes that grow from
// their start and retract into their end over their life, and two-segment dashes that slide in
// and out of their window.
void AddNodeLinesSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                       const DS_ImageFileLink& band);
