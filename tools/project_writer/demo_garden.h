#pragma once

#include <cstdint>
#include <vector>

class DS_SlideContainer;

// The 3D models of the demo project, put on a slide the demo has made of the dawn (a 575 x 269
// picture): three butterflies on the shared library's wing picture 69, a clock in the top left
// corner, and leaves drifting down and tumbling, made of the .x mesh `leafMesh` and the picture
// `leafPicture` (file bytes), both stored in the project. Without either file there are no
// leaves.
void AddGarden(DS_SlideContainer& slide, const std::vector<uint8_t>& leafMesh,
               const std::vector<uint8_t>& leafPicture);
