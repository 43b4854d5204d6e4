#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// A garden slide on `background` (the dawn): stars falling in the sky, wandering fireflies, a
// walker that strolls back and forth along a path across the lawn, a flickering lamp and stalks
// swaying in the wind.
void AddGeneratorGardenSlide(ProjectBuilder& project, const DS_ImageFileLink& background);
