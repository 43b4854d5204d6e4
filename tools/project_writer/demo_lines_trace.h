#pragma once

#include "core/link/ds_file_link.h"

class DS_SlideContainer;
class ProjectBuilder;

// Puts on `slide` (over a 575 x 269 picture) one node-tree system, stored as its builder, whose
// particles leave trails of the built-in trail picture behind them: a swarm of soft spots (the
// picture stored under `softSpot`) drawing blue ribbons through the offsetter, and a flow
// drawing wide warm bevelled ribbons.
void AddTraceDemo(ProjectBuilder& project, DS_SlideContainer& slide,
                  const DS_ImageFileLink& softSpot);
