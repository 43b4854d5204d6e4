#include "particles/tree/preset/curve_points.h"

#include "core/math/matrix_helpers.h"
#include "platform/math/d3dx_math.h"

namespace {

float Cross2D(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a.x * b.y - a.y * b.x;
}

// Moves `p` back along the segment from `before` onto the arc parameter `s`.
void MoveBackTo(CurvePoint& p, const CurvePoint& before, float s) {
  const float length = p.s - before.s;
  if (length != 0.0f)
    p.position = before.position + (p.position - before.position) * ((s - before.s) / length);
  p.s = s;
}

}  // namespace

std::vector<CurvePoint> BuildCurvePoints(std::span<const D3DXVECTOR3> positions, bool normalise) {
  const size_t n = positions.size();
  std::vector<CurvePoint> points(n);
  for (size_t k = 0; k < n; ++k)
    points[k].position = positions[k];
  if (n < 2) return points;

  D3DXVECTOR3 normal(0, 0, 0);
  for (size_t k = 0; k + 1 < n; ++k) {
    const D3DXVECTOR3 d = positions[k] - positions[k + 1];
    const float length = D3DXVec3Length(&d);
    if (length > 0.0f) normal = D3DXVECTOR3(-d.y / length, d.x / length, 0.0f);
    points[k].normalOut = normal;
    points[k + 1].normalIn = normal;
    points[k + 1].s = points[k].s + length;
  }
  const float total = points[n - 1].s;
  if (normalise && total != 0.0f) {
    for (CurvePoint& p : points)
      p.s /= total;
  }

  for (size_t k = 1; k + 1 < n; ++k) {
    CurvePoint& p = points[k];
    if (p.normalIn == p.normalOut) {
      p.join = -p.normalOut;
      continue;
    }
    // The two edges one unit to the normals' side, each through its segment's ends.
    const D3DXVECTOR3 a1 = positions[k - 1] + p.normalIn, a2 = positions[k] + p.normalIn;
    const D3DXVECTOR3 b1 = positions[k] + p.normalOut, b2 = positions[k + 1] + p.normalOut;
    D3DXVECTOR3 meet;
    if (!IntersectLines2D(&a1, &a2, &b1, &b2, &meet)) {
      p.join = -p.normalIn;
      continue;
    }
    p.join = positions[k] - meet;
    if (Cross2D(meet - positions[k - 1], positions[k + 1] - positions[k - 1]) < 0.0f) {
      p.normalIn = -p.normalIn;
      p.normalOut = -p.normalOut;
      p.join = -p.join;
      p.sideFlag = false;
    }
  }
  points.front().normalIn = points.front().normalOut;
  points.front().join = -points.front().normalOut;
  points.back().normalOut = points.back().normalIn;
  points.back().join = -points.back().normalIn;
  return points;
}

std::vector<CurvePoint> VisiblePart(const std::vector<CurvePoint>& points, float start, float end) {
  size_t k = 0;
  while (k < points.size() && !(points[k].s >= start))
    ++k;
  std::vector<CurvePoint> visible;
  for (size_t j = k; j < points.size(); ++j) {
    CurvePoint p = points[j];
    if (j == k && k > 0) MoveBackTo(p, points[k - 1], start);
    const bool last = p.s > end;
    if (last && j > 0) MoveBackTo(p, points[j - 1], end);
    visible.push_back(p);
    if (last) break;
  }
  return visible;
}

void WriteSegmentIndices(uint16_t* out, uint32_t base, bool sidesDiffer) {
  const uint32_t b = base, d = sidesDiffer ? 1 : 0, e = 1 - d;
  const uint32_t indices[15] = {b,     b + 4 + 2 * d, b + 5,         b,     b + 1, b + 5,
                                b + 1, b + 5,         b + 4 + 2 * e, b + 1, b + 3, b + 4 + 2 * e,
                                b + 6, b + 5,         b + 7};
  for (int i = 0; i < 15; ++i)
    out[i] = static_cast<uint16_t>(indices[i]);
}
