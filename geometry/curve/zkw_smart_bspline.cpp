#include "geometry/curve/zkw_smart_bspline.h"

#include "geometry/curve/bezier_samples.h"
#include "geometry/curve/bspline_handles.h"

DX_BSplinePnt* ZKW_SmartBSpline::AppendPoint(const DX_SmartPnt& point, MediaControl* source) {
  DS_SafePtr<DX_BSplinePnt> added = NewPoint(point);
  if (GetCount() > 0) SetAutomaticHandles(PointAt(GetCount() - 1), *added);
  return Insert(GetCount(), added, source);
}

void ZKW_SmartBSpline::Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) {
  SampleBezierSegments(points.Value(), samplesPerSegment, false, out);
}
