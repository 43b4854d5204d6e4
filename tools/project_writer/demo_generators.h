#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// A night-sky slide on `background` (a 575 x 269 picture) with the air-brush generators, their
// dabs painted by the writer: stars twinkling across the sky (added on), sparkles along a stroke
// of light, fireflies of an animated picture near the ground and an aurora curtain waving
// behind them (screened onto the sky).
void AddNightSkySlide(ProjectBuilder& project, const DS_ImageFileLink& background);
