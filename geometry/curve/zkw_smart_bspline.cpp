#include "geometry/curve/zkw_smart_bspline.h"

#include "geometry/curve/bezier_samples.h"

DX_BSplinePnt* ZKW_SmartBSpline::AppendPoint(const DX_SmartPnt& point, MediaControl* source) {
  return AppendWithAutomaticHandles(point, source);
}

void ZKW_SmartBSpline::Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) {
  SampleBezierSegments(points.Value(), samplesPerSegment, false, out);
}
