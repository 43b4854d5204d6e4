#include "geometry/curve/zkw_smart_polyline.h"

#include "platform/math/d3dx_math.h"

ZKW_CornerBSplinePnt* ZKW_SmartPolyline::AppendPoint(const DX_SmartPnt& point,
                                                     MediaControl* source) {
  return AppendWithAutomaticHandles(point, source);
}

void ZKW_SmartPolyline::Tessellate(std::vector<CurveSample>& out, int /*samplesPerSegment*/) {
  const int n = GetCount();
  out.clear();
  out.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    AppendCurveSample(out, PointAt(i).Value(), D3DXVECTOR3());
    if (i == 0) continue;
    // The segment's direction goes to both of its ends; the next segment overwrites the end.
    CurveSample& previous = out[out.size() - 2];
    const D3DXVECTOR3 d = out.back().position - previous.position;
    const float length = previous.segmentLength;
    const D3DXVECTOR3 direction = length > 0.0f ? d / length : D3DXVECTOR3();
    previous.tangent = direction;
    out.back().tangent = direction;
  }
  for (size_t k = out.size(); k-- > 1;) {
    const D3DXVECTOR3 sum = out[k - 1].tangent + out[k].tangent;
    D3DXVec3Normalize(&out[k].tangent, &sum);
  }
}
