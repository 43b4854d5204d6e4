#pragma once

#include <functional>
#include <vector>

#include "geometry/curve/zkw_smart_polyline.h"
#include "geometry/curve/zkw_stripe.h"

// A closed polyline through corner points. Its points go to its offsetter, a ZKW_LoopZerroLine,
// which answers length and points with lengths wrapping around the loop; the curve's own sample
// list stays empty, so ClosestPoint and ForEachLength answer as for an empty curve.
class ZKW_SmartPolyLoop : public ZKW_Stripe<ZKW_SmartPolyline> {
 public:
  // With a fresh loop zero line.
  ZKW_SmartPolyLoop();
  ZKW_SmartPolyLoop(const ZKW_SmartPolyLoop&) = default;

  // The perimeter.
  float TotalLength() const override;
  // The loop tracer's Trace: the length wraps around the loop, the offset is not used and the
  // direction is the segment's right-hand normal.
  bool PointAtLength(float length, float offset, D3DXVECTOR3* point,
                     D3DXVECTOR3* direction) const override;
  // Always false.
  bool DirectionAtLength(float length, D3DXVECTOR3* direction) const override;
  // Hands the control points to the loop zero line; `out` gets a copy of the curve's own
  // (empty) samples.
  void Tessellate(std::vector<CurveSample>& out, int samplesPerSegment) override;
  // Every segment of the closed loop, the closing one last.
  void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const override;
};
