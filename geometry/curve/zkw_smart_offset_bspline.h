#pragma once

#include <functional>
#include <vector>

#include "geometry/curve/zkw_smart_bspline.h"
#include "geometry/curve/zkw_stripe.h"

// A B-spline curve with a band: its Bezier samples go to its offsetter, a ZKW_OnionOffseter,
// which answers length and points by (arc length, offset) once its owner has built it. The
// curve's own sample list stays empty, so ClosestPoint, DirectionAtLength and ForEachLength
// answer as for an empty curve.
class ZKW_SmartOffsetBSpline : public ZKW_Stripe<ZKW_SmartBSpline> {
 public:
  // Rebuild samples each segment this many times for the offsetter.
  static constexpr int kOffsetSamplesPerSegment = 100;

  // With a fresh onion offsetter.
  ZKW_SmartOffsetBSpline();
  ZKW_SmartOffsetBSpline(const ZKW_SmartOffsetBSpline&) = default;

  // The length of the offsetter's simplified centre line.
  float TotalLength() const override;
  // The onion tracer's Trace; the direction is the interpolated ring normal.
  bool PointAtLength(float length, float offset, D3DXVECTOR3* point,
                     D3DXVECTOR3* direction) const override;
  // Tessellate with kOffsetSamplesPerSegment; the samples stay as they are.
  void Rebuild() override;
  // Samples the Bezier segments with samplesPerSegment steps and hands the sample positions to
  // the offsetter; `out` gets a copy of the curve's own samples.
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
  // The segments of the offsetter's simplified centre line.
  void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const override;
};
