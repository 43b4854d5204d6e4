#pragma once

#include <array>

#include "core/param/color_params.h"
#include "platform/math/d3dx_types.h"
#include "player/render/dx_vertex.h"

// The four vertices of a generator quad in strip order: relative to its centre along its two
// axes at (-, +), (-, -), (+, +), (+, -), with texture coordinates (0, 1), (0, 0), (1, 1),
// (1, 0); drawn as the triangles 0, 1, 2 and 2, 1, 3.
using QuadVertices = std::array<DX_V::PCT, 4>;

// An axis-aligned w x h quad centred on (x, y, z), white.
void MakeSpriteQuad(QuadVertices& out, float x, float y, float z, float w, float h);
// The quad c -/+ kU -/+ kV with k = s / 2, white.
void MakeOrientedQuad(QuadVertices& out, const D3DXVECTOR3& c, const D3DXVECTOR3& u,
                      const D3DXVECTOR3& v, float s);
// A segment from `start` along `delta` (of length `length`), w0 wide at the start and w1 at the
// end, across n = (-delta.y, delta.x) / length: start + n w0 / 2, start - n w0 / 2,
// start + delta + n w1 / 2, start + delta - n w1 / 2; white. Texture coordinates are the
// caller's. A length of 0 gives no width.
void MakeSegmentQuad(float length, QuadVertices& out, const D3DXVECTOR3& start,
                     const D3DXVECTOR3& delta, float w0, float w1);

// The colour of a written quad: red, green and blue of the COLORREF, alpha = the colour's
// opacity byte x `alpha`; each of the four held in 0..255 and rounded (NaN as 0).
void ColourQuad(QuadVertices& quad, const ColorAlphaParam& colour, float alpha);
