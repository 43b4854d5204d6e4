#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/math/d3dx_types.h"

// One point of a curve as the curve node draws it: where it is, how far along, and the
// directions its ribbon vertices take. The normals point to one side of the ribbon, where a
// bevel joins the two segments; the join points to the other side, where their edges meet.
struct CurvePoint {
  D3DXVECTOR3 position{0, 0, 0};
  float s = 0.0f;                  // arc length from the first point, or its fraction
  D3DXVECTOR3 normalIn{0, 0, 0};   // unit left normal of the segment before
  D3DXVECTOR3 normalOut{0, 0, 0};  // of the segment after
  D3DXVECTOR3 join{0, 0, 0};       // to the meeting point of the edges one unit away
  bool sideFlag = true;            // false: normals and join were turned over
};

// The drawing points of a curve through `positions`: arc lengths (fractions of the whole with
// `normalise`), normals, joins at the interior points and the side each turn puts its bevel on.
// A segment of length 0 keeps the normal before it (0 at the start), and a curve of length 0
// keeps its arc lengths, so nothing divides by 0.
std::vector<CurvePoint> BuildCurvePoints(std::span<const D3DXVECTOR3> positions, bool normalise);

// The part of `points` from arc parameter `start` to `end`: it begins at the first point at or
// past start and ends at the first point past end; each of those two is moved back along the
// segment before it onto the cut. Empty when no point reaches start.
std::vector<CurvePoint> VisiblePart(const std::vector<CurvePoint>& points, float start, float end);

// The fifteen 16-bit indices of the five triangles of a segment between points whose four
// vertices (join, centre, incoming and outgoing normal) start at `base` and `base` + 4;
// `sidesDiffer` when the two points' side flags differ.
void WriteSegmentIndices(uint16_t* out, uint32_t base, bool sidesDiffer);
