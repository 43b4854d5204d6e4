#include "geometry/curve/zkw_smart_cubic_spline.h"

#include <cstdint>

#include "core/math/parametric_spline_2d.h"

void ZKW_SmartCubicSpline::Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) {
  const int n = GetCount();
  if (n < 3) {
    ZKW_SmartPolyline::Tessellate(out, samplesPerSegment);
    return;
  }
  out.clear();
  ParametricSpline2D spline;
  for (int i = 0; i < n; ++i) {
    const D3DXVECTOR3& p = PointAt(i).Value();
    spline.AddPoint(p.x, p.y);
  }
  const int64_t steps = static_cast<int64_t>(n) * samplesPerSegment;
  if (steps < 1 || !spline.Build()) return;
  out.reserve(static_cast<size_t>(steps) + 1);
  for (int64_t i = 0; i <= steps; ++i) {
    const D3DXVECTOR3 p = spline.PointAt(static_cast<float>(i) / static_cast<float>(steps));
    AppendCurveSample(out, p, D3DXVECTOR3());
  }
}
