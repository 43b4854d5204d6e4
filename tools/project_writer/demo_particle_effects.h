#pragma once

#include "tools/project_writer/demo_node_tree.h"

class DS_SlideContainer;

// A row of node-tree pictures along the foot of the "Particles" slide: one pulsing with a normal
// glow, one shaking with a screen glow, one changing colour with a colour-dodge glow, one swinging
// and stretching with a linear-dodge glow and a shadow, and a ring of sparks with radial glows of
// the soft spot.
void AddParticleEffectsRow(DS_SlideContainer& slide, const DemoNodeTreePictures& pictures);
