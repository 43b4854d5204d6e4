#pragma once

#include <vector>

#include "geometry/curve/zkw_smart_curve.h"

// A curve of cubic Bezier segments through B-spline points and their handles. It is used as the
// stripe ZKW_Stripe<ZKW_SmartBSpline>: appending gives the points smooth automatic handles, and
// the samples follow the Bezier segments.
class ZKW_SmartBSpline : public ZKW_SmartCurve<DX_BSplinePnt> {
 public:
  ZKW_SmartBSpline() = default;
  ZKW_SmartBSpline(const ZKW_SmartBSpline&) = default;

  // As the plain append, then (after the first point) the automatic handles of a point appended
  // after the last one (SetAutomaticHandles), before the new point is stored.
  DX_BSplinePnt* AppendPoint(const DX_SmartPnt& point, MediaControl* source) override;
  // The Bezier segment of each pair of points sampled with samplesPerSegment steps, joints not
  // doubled (SampleBezierSegments); one point gives one sample with tangent (1, 0, 0).
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
};
