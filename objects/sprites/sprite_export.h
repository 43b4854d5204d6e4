#pragma once

#include <string>

// A text export of sprite placements frame by frame: the head lists the blocks, the body the
// frames; `block` is the number of the current block, `frames` the frames written into it.
struct SpriteExportState {
  std::string head;
  std::string body;
  int block = 0;
  int frames = 0;
};
