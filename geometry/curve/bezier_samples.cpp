#include "geometry/curve/bezier_samples.h"

#include "core/math/cubic_bezier.h"
#include "platform/math/d3dx_math.h"

void SampleBezierSegments(const std::vector<DS_SafePtr<DX_BSplinePnt>>& points, int steps,
                          bool reverse, std::vector<CurveSample>& out) {
  out.clear();
  const size_t n = points.size();
  if (n == 0) return;
  if (n == 1) {
    AppendCurveSample(out, points[0]->Value(), D3DXVECTOR3(1.0f, 0.0f, 0.0f));
    return;
  }
  std::vector<D3DXVECTOR3> positions;
  std::vector<D3DXVECTOR3> derivatives;
  for (size_t k = 1; k < n; ++k) {
    // Forward: from point k - 1 to point k; reversed: from point n - k to point n - k - 1.
    const DX_BSplinePnt& a = *points[reverse ? n - k : k - 1];
    const DX_BSplinePnt& b = *points[reverse ? n - k - 1 : k];
    const D3DXVECTOR3& aOut = reverse ? a.secondHandle.Value() : a.firstHandle.Value();
    const D3DXVECTOR3& bIn = reverse ? b.firstHandle.Value() : b.secondHandle.Value();
    SampleCubicBezier(positions, derivatives, a.Value(), a.Value() + aOut, b.Value() + bIn,
                      b.Value(), steps);
  }
  out.reserve(positions.size());
  for (size_t i = 0; i < positions.size(); ++i) {
    D3DXVECTOR3 tangent;
    D3DXVec3Normalize(&tangent, &derivatives[i]);
    AppendCurveSample(out, positions[i], tangent);
  }
}
