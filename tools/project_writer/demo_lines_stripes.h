#pragma once

#include "core/link/ds_file_link.h"

class DS_SlideContainer;
class ProjectBuilder;

// Lightning on `slide` (a 575 x 269 picture): one node-tree system, stored as its builder, whose
// fractal lines flicker out from the middle and whose random lines wander to the right, drawn
// with `streak` (a band soft across its width) added to the picture.
void AddStripeLines(ProjectBuilder& project, DS_SlideContainer& slide,
                    const DS_ImageFileLink& streak);
