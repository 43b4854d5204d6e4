#pragma once

#include "core/link/ds_file_link.h"

class ProjectBuilder;

// A "Group" slide on `background`: a group holding two node-tree particle systems (the soft spot
// stored as frames) that it moves along a B-spline path, its position along the path rising from
// 0 to 1 over each 8-second window of its time-window controller.
void AddGroupSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                   const DS_ImageFileLink& softSpot);
