#pragma once

#include <vector>

#include "geometry/curve/zkw_smart_polyline.h"

// An interpolating cubic spline through corner points. Its samples carry zero tangents, so
// lateral offsets and cursor directions along it are zero.
class ZKW_SmartCubicSpline : public ZKW_SmartPolyline {
 public:
  ZKW_SmartCubicSpline() = default;
  ZKW_SmartCubicSpline(const ZKW_SmartCubicSpline&) = default;

  // With three points or more, the parametric spline through their (x, y) (parameter = point
  // index) evaluated at N + 1 evenly spaced fractions, N = points x samplesPerSegment, z = 0;
  // nothing when N is below 1. With fewer points, the polyline's samples.
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
};
