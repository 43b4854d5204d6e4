#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// A festival slide on `background` (the 575 x 269 night): fireworks bursting on a random
// timeline, smoke rising from the ground, a branching lightning bolt that flashes now and then,
// radial rays turning behind them, and the festival's name in animated glyphs of the player's
// own picture packs.
void AddFestivalSlide(ProjectBuilder& project, const DS_ImageFileLink& background);
