#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/buffers.h"
#include "player/render/render_meshes.h"

// A 16-bit index buffer for a grid of columns x rows vertices, two triangles per cell
// (core/grid_indices.h), with its triangle count; empty (no buffer, 0) for a grid without cells,
// one too large for 16-bit indices, or when the buffer cannot be made.
struct IndexedGrid {
  ComRef<gfx::IndexBuffer> buffer;
  uint32_t triangleCount = 0;
};
IndexedGrid BuildGridIndexBuffer(uint32_t columns, uint32_t rows);

// One vertex {x, y, z, u, v} of an XYZ|TEX1 mesh.
struct TexVertex {
  float x = 0.0f, y = 0.0f, z = 0.0f, u = 0.0f, v = 0.0f;
};

// A grid of columns x rows cells of textured vertices, stretched between four corners and drawn
// as an indexed triangle list. Copies share the buffers, so refilling a copy changes what the
// source draws.
class WarpGridMesh : public IndexedMesh {
 public:
  // (columns + 1) x (rows + 1) vertices and the grid's indices, replacing the old buffers; no
  // vertices for a grid whose vertex count passes 32 bits.
  void Resize(uint32_t columns, uint32_t rows);
  // Fills every vertex by bilinear interpolation of all five components between the corners
  // of row 0 (left c00, right c01) and of the last row (left c10, right c11). A grid of zero
  // columns or rows takes the first corner of each span.
  void Fill(const TexVertex& c00, const TexVertex& c01, const TexVertex& c10, const TexVertex& c11);

  uint32_t columns = 0;
  uint32_t rows = 0;
};
