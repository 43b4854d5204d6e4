#pragma once

#include <functional>
#include <vector>

#include "geometry/curve/zkw_smart_polyline.h"
#include "geometry/curve/zkw_stripe.h"

// An open polyline through corner points with a band: its points go to its offsetter, a
// ZKW_OnionOffseter, which answers length and points by (arc length, offset) once its owner has
// built it. The curve's own sample list stays empty, so ClosestPoint, DirectionAtLength and
// ForEachLength answer as for an empty curve.
class ZKW_SmartOffsetPolyline : public ZKW_Stripe<ZKW_SmartPolyline> {
 public:
  // With a fresh onion offsetter.
  ZKW_SmartOffsetPolyline();
  ZKW_SmartOffsetPolyline(const ZKW_SmartOffsetPolyline&) = default;

  // The length of the offsetter's simplified centre line.
  float TotalLength() const override;
  // The onion tracer's Trace; the direction is the interpolated ring normal.
  bool PointAtLength(float length, float offset, D3DXVECTOR3* point,
                     D3DXVECTOR3* direction) const override;
  // Hands the control points to the offsetter; the samples stay as they are.
  void Rebuild() override;
  // Hands the control points to the offsetter; `out` gets a copy of the curve's own samples.
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
  // The segments between consecutive control points.
  void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const override;
};
