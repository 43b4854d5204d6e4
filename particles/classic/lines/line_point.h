#pragma once

#include <array>
#include <cstdint>

#include "platform/math/d3dx_types.h"
#include "player/render/dx_vertex.h"

// One point of a line strip: where the line passes, its unit tangent there, the two edge points
// of the strip, its colour (0 to 1 each) and the texture coordinate along the line. The strip
// quads are built from consecutive points.
struct LinePoint {
  D3DXVECTOR3 position{0, 0, 0};
  D3DXVECTOR3 direction{0, 0, 0};
  D3DXVECTOR3 left{0, 0, 0};
  D3DXVECTOR3 right{0, 0, 0};
  std::array<float, 4> colour{0, 0, 0, 0};  // r, g, b, a
  float v = 0.0f;
  float edgesSet = 0.0f;  // 1 once left and right hold this point's edges

  // The edges at half width k across `t` (normal (-t.y, t.x, 0)): left = position + k n,
  // right = position - k n, z kept; marks them set.
  void SetEdges(const D3DXVECTOR3& t, float k);
};

// A colour channel as a byte: 255 at 1 and above, 0 at 0 and below (and for NaN), else
// c x 255 + 0.5 truncated.
uint32_t LineChannelByte(float c);
// The ARGB word of a point's colour.
uint32_t LineColourWord(const std::array<float, 4>& colour);

// Each writes the four vertices of the quad from `a` (the earlier point) to `b`: c0 b.left,
// c1 a.left, c2 b.right, c3 a.right, u 1 on the left edge and 0 on the right, v of each point.
// A segment of no length makes b a copy of a (a degenerate quad).

// b's edges at the join with the segment from a: the half width grows by 1 / cos of the angle
// between the segment and b's direction, so that the strip keeps its width across the segment.
// Where that angle is a right angle (a cusp) the half width stays w / 2.
void BuildJoinQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b);
// b's edges square to b's own direction, half width w / 2.
void BuildSquareQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b);
// b's direction becomes the segment's from a; edges square to it, half width w / 2.
void BuildSegmentQuad(DX_V::PCT* quad, const LinePoint& a, float w, LinePoint& b);
