#pragma once

#include <vector>

#include "geometry/curve/zkw_smart_curve.h"

// A polyline through corner points: one sample per point, each inner sample's tangent the
// bisector of its two segment directions. Appending gives the points smooth automatic handles.
class ZKW_SmartPolyline : public ZKW_SmartCurve<ZKW_CornerBSplinePnt> {
 public:
  ZKW_SmartPolyline() = default;
  ZKW_SmartPolyline(const ZKW_SmartPolyline&) = default;

  // As the plain append, then (after the first point) the automatic handles of a point appended
  // after the last one (SetAutomaticHandles), before the new point is stored.
  ZKW_CornerBSplinePnt* AppendPoint(const DX_SmartPnt& point, MediaControl* source) override;
  // One sample per point (the samples-per-segment value is not used). The first sample's tangent
  // is the direction of the first segment, the last one's that of the last segment, each inner
  // one's the normalised sum of the two; a segment of zero length has direction (0, 0, 0). A
  // single point gives one sample with a zero tangent.
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
};
