#pragma once

#include <cstdint>
#include <vector>

#include "player/render/sprite_array.h"

// One drawing node's quads for a frame: 32-byte vertices with two coordinate pairs in the shared
// quad batch, which draws batches of any size block by block. The buffers are made again only
// when the node has more quads than they hold, so a shrinking count keeps them.
//
// Nodes that draw ribbons use the batch as a free-form mesh instead: EnsureCapacity makes room,
// the node writes vertices and 16-bit indices itself and records what it wrote with
// SetMeshCounts; Draw then draws those triangles. Prepare returns the batch to quads.
class ParticleQuadBatch : public PCT2SpriteArray {
 public:
  // Makes room for `quads` quads (capped at the live-particle limit) and makes them the count
  // drawn; answers the count.
  uint32_t Prepare(uint32_t quads);
  uint32_t QuadCount() const { return quads_; }

  // Free-form mesh of at least `vertices` vertices and `triangles` triangles (each capped as the
  // quad batch caps them); buffers that are large enough are kept, new ones are not written.
  // The counts drawn become 0 until SetMeshCounts.
  void EnsureCapacity(uint32_t vertices, uint32_t triangles);
  // Room the buffers have: the node writes no more than this.
  uint32_t VertexCapacity() const { return mesh_ ? vertices.count : 0; }
  uint32_t TriangleCapacity() const { return mesh_ ? primitiveCount : 0; }
  // The index buffer between LockIndices and UnlockIndices; null when the lock fails.
  uint16_t* LockIndices();
  void UnlockIndices();
  // What the node wrote (kept within the capacity).
  void SetMeshCounts(uint32_t vertices, uint32_t triangles);
  uint32_t MeshVertexCount() const { return meshVertices_; }
  uint32_t MeshTriangleCount() const { return meshTriangles_; }

  void Draw(gfx::Effect* effect, gfx::EffectHandle technique, bool wrap) const {
    if (mesh_) {
      DrawTriangles(effect, technique, meshVertices_, meshTriangles_, wrap);
    } else {
      PCT2SpriteArray::Draw(effect, technique, quads_, wrap);
    }
  }

 private:
  uint32_t quads_ = 0;
  bool mesh_ = false;
  uint32_t meshVertices_ = 0;
  uint32_t meshTriangles_ = 0;
};

using QuadBatches = std::vector<ParticleQuadBatch>;
