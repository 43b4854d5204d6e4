#pragma once

#include <cstdint>
#include <vector>

#include "player/render/sprite_array.h"

// One drawing node's quads for a frame: 32-byte vertices with two coordinate pairs in the shared
// quad batch, which draws batches of any size block by block. The buffers are made again only
// when the node has more quads than they hold, so a shrinking count keeps them.
//
// A node that writes ribbons of its own triangles uses the batch as a mesh instead: it names
// vertices by 16-bit indices, so a mesh holds at most kMaxMeshVertices vertices.
class ParticleQuadBatch : public PCT2SpriteArray {
 public:
  static constexpr uint32_t kMaxMeshVertices = 65536;

  // Makes room for `quads` quads (capped at the live-particle limit) and makes them the count
  // drawn; answers the count.
  uint32_t Prepare(uint32_t quads);
  uint32_t QuadCount() const { return quads_; }

  // Makes room for a mesh of `vertexCount` vertices (capped at kMaxMeshVertices) and
  // `triangles` triangles, whose indices the owner writes; nothing is drawn until SetMeshCounts.
  // Answers the vertex room.
  uint32_t PrepareMesh(uint32_t vertexCount, uint32_t triangles);
  // The index buffer between Lock and Unlock; null when the lock fails.
  uint16_t* LockIndices();
  void UnlockIndices();
  // The vertices and triangles written, which Draw draws.
  void SetMeshCounts(uint32_t vertexCount, uint32_t triangles) {
    meshVertices_ = vertexCount;
    meshTriangles_ = triangles;
  }
  bool IsMesh() const { return mesh_; }
  uint32_t MeshVertices() const { return meshVertices_; }
  uint32_t MeshTriangles() const { return meshTriangles_; }

  void Draw(gfx::Effect* effect, gfx::EffectHandle technique, bool wrap) const {
    if (mesh_)
      DrawTriangles(effect, technique, meshVertices_, meshTriangles_, wrap);
    else
      PCT2SpriteArray::Draw(effect, technique, quads_, wrap);
  }

 private:
  uint32_t quads_ = 0;
  bool mesh_ = false;  // the index buffer holds the owner's triangles, not the quad pattern
  uint32_t meshVertices_ = 0, meshTriangles_ = 0;
};

using QuadBatches = std::vector<ParticleQuadBatch>;
