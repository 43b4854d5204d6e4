#pragma once

#include <cstdint>
#include <vector>

#include "player/render/sprite_array.h"

// One drawing node's quads for a frame: 32-byte vertices with two coordinate pairs in the shared
// quad batch, which draws batches of any size block by block. The buffers are made again only
// when the node has more quads than they hold, so a shrinking count keeps them.
class ParticleQuadBatch : public PCT2SpriteArray {
 public:
  // Makes room for `quads` quads (capped at the live-particle limit) and makes them the count
  // drawn; answers the count.
  uint32_t Prepare(uint32_t quads);
  uint32_t QuadCount() const { return quads_; }
  void Draw(gfx::Effect* effect, gfx::EffectHandle technique, bool wrap) const {
    PCT2SpriteArray::Draw(effect, technique, quads_, wrap);
  }

 private:
  uint32_t quads_ = 0;
};

using QuadBatches = std::vector<ParticleQuadBatch>;
