#pragma once

#include <cstdint>
#include <vector>

#include "tools/text_art/glyph_outline.h"

// The flat face of a glyph: its outline cut into triangles by the GLU tessellator with the
// outline's fill rule. The triangles use the outline's points, numbered contour after contour,
// and the points the tessellator adds where contours cross, appended after them; each triangle
// runs counter-clockwise seen from +z.
struct CapTriangles {
  std::vector<D3DXVECTOR2> points;
  std::vector<uint32_t> triangles;  // three point numbers each
};

// False when the tessellator reports an error.
bool TessellateCap(const GlyphOutline& outline, CapTriangles& out);
