#include "core/math/cubic_bezier.h"

void SampleCubicBezier(std::vector<D3DXVECTOR3>& points, std::vector<D3DXVECTOR3>& tangents,
                       const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                       const D3DXVECTOR3& p3, int steps) {
  const int skip = !points.empty() && points.back() == p0 ? 1 : 0;
  if (steps < skip || steps <= 0) return;
  const float k = 1.0f / static_cast<float>(steps);
  for (int i = skip; i <= steps; ++i) {
    const float r = static_cast<float>(i) * k;
    const float u = 1.0f - r;
    points.push_back(p0 * (u * u * u) + p1 * (3.0f * r * u * u) + p2 * (3.0f * r * r * u) +
                     p3 * (r * r * r));
    tangents.push_back((p1 - p0) * (3.0f * u * u) + (p2 - p1) * (6.0f * u * r) +
                       (p3 - p2) * (3.0f * r * r));
  }
}
