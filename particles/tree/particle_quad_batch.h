#pragma once

#include <cstdint>
#include <vector>

#include "player/render/sprite_array.h"

// One drawing node's quads for a frame: 32-byte vertices with two coordinate pairs in the shared
// quad batch, which draws batches of any size block by block. The buffers are made again only
// when the node has more quads than they hold, so a shrinking count keeps them.
//
// Ribbon nodes use the batch as a mesh instead: they write the vertices and the 16-bit indices
// themselves (EnsureCapacity) and the batch draws that many triangles in one call, so a mesh
// holds at most kMaxMeshVertices vertices.
class ParticleQuadBatch : public PCT2SpriteArray {
 public:
  static constexpr uint32_t kMaxMeshVertices = 65535;

  // Makes room for `quads` quads (capped at the live-particle limit) and makes them the count
  // drawn; answers the count.
  uint32_t Prepare(uint32_t quads);
  uint32_t QuadCount() const { return quads_; }

  // Makes the batch a mesh of `vertices` vertices (at most kMaxMeshVertices) and `triangles`
  // triangles: a buffer with less room is made again (its contents lost, the index buffer left
  // unwritten); one with enough room is kept as it is.
  void EnsureCapacity(uint32_t vertices, uint32_t triangles);
  bool IsMesh() const { return mesh_; }
  // The room of the buffers as they are, from their sizes; 0 without a buffer.
  uint32_t VertexRoom() const;
  uint32_t TriangleRoom() const;

  // The quads, or the mesh's triangles.
  void Draw(gfx::Effect* effect, gfx::EffectHandle technique, bool wrap) const;

 private:
  uint32_t quads_ = 0;
  bool mesh_ = false;
};

using QuadBatches = std::vector<ParticleQuadBatch>;
