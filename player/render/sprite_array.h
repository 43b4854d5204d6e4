#pragma once

#include <cstdint>

#include "platform/gfx/effect/effect.h"
#include "player/render/dx_vertex.h"
#include "player/render/render_meshes.h"

// A batch of quads: four vertices of type V per quad in a managed vertex buffer and the quad
// index pattern (quad_blocks.h) in a 16-bit index buffer, placed in the scene by its transform
// node. Particle controls, particle trees, sprite arrays and text objects fill it; the renderer's
// quad draws and its own Draw draw it. Copies share the buffers.
//
// The fields of IndexedMesh hold: the vertex count; the primitive type (a strip until buffers
// exist, then a triangle list); `extra`, a count of primitives drawn without indices (0 here);
// `primitiveCount`, the triangle capacity (indices / 3, two per quad).
//
// Quad counts are capped at kMaxParticlesPerList, vertex and index counts at four and six times
// that, so that no count from a file makes a batch without bound. A buffer that cannot be made
// is left null; locks then fail and fills do nothing.
template <class V>
class DS_SpriteArrayT : public IndexedMesh {
 public:
  static constexpr uint32_t kStride = sizeof(V);

  // Releases the vertex buffer, stores the count and makes a write-only managed buffer of
  // `vertices` vertices.
  void CreateVertexBuffer(uint32_t vertices);
  // The vertex buffer, then a triangle list with capacity indices / 3 and a fresh write-only
  // managed 16-bit index buffer of `indices` indices (neither written).
  void CreateBuffers(uint32_t vertices, uint32_t indices);
  // Buffers for `quads` quads with the index pattern written; vertices left as they come.
  void Reserve(uint32_t quads);
  // As Reserve, then every quad at the origin, colour 0, texture coordinates (0, 1), (0, 0),
  // (1, 1), (1, 0) for c0 to c3.
  void InitQuads(uint32_t quads);

  uint32_t QuadCapacity() const { return primitiveCount / 2; }
  // The vertices between Lock and Unlock; null when the lock fails.
  V* LockVertices() { return vertices.Lock() ? static_cast<V*>(vertices.locked) : nullptr; }
  void UnlockVertices() { vertices.Unlock(); }

  // Draws the first `quads` quads (at most the capacity) through every pass of `technique`:
  // view and projection from the render context, the world of the batch's node. With `wrap`,
  // samplers 0 and 1 address their textures with WRAP in every pass.
  void Draw(gfx::Effect* effect, gfx::EffectHandle technique, uint32_t quads,
            bool wrap = false) const;
  // As Draw, for buffers that hold a mesh rather than quads: `triangles` triangles (at most
  // what the index buffer holds) from the first index, in one draw, their 16-bit indices naming
  // the first 65,536 vertices.
  void DrawMesh(gfx::Effect* effect, gfx::EffectHandle technique, uint32_t triangles,
                bool wrap = false) const;

 private:
  void DrawTriangles(gfx::Effect* effect, gfx::EffectHandle technique, uint32_t triangles,
                     bool wrap, bool quadBlocks) const;
};

using PCTSpriteArray = DS_SpriteArrayT<DX_V::PCT>;
using PCT2SpriteArray = DS_SpriteArrayT<DX_V::PCT2>;

// Writes one ARGB into the four vertices of `quad`: red, green and blue from the COLORREF
// 0x00BBGGRR, alpha from `alpha` (0 to 255; clamped, rounded, NaN as 0).
void SetQuadVertexColors(uint32_t rgb, float alpha, DX_V::PCT* quad);
