#pragma once

#include <vector>

#include "geometry/offset/zkw_curve_offset_maker.h"
#include "geometry/offset/zkw_stripe_tracer.h"

// The arc-length table of a closed polyline (its zero line): the offsetter of the closed smart
// polyline. It makes no offsets; its tracer answers the loop's length, points and vertices and
// ignores the lateral offset. Segment i runs from point i to point (i + 1) mod n, so the last one
// closes the loop.
class ZKW_LoopZerroLine : public ZKW_CurveOffsetMaker {
 public:
  // Rebuilds the tables from the x and y of the points, each asked once, in order.
  void SetPoints(unsigned count, OffsetPointSource source) override;
  // There is nothing to offset.
  void Build(float /*distance*/) override {}
  // The perimeter; 0 before the first SetPoints.
  float ZeroLineLength() const override { return cumulative_.empty() ? 0.0f : cumulative_.back(); }
  // A ZKW_LoopTracer over the tables.
  DS_SafePtr<ZKW_StripeTracer> CreateTracer() const override;

  const std::vector<D3DXVECTOR2>& Points() const { return points_; }
  // Unit segment directions; the raw difference (0, 0) for a segment of zero length.
  const std::vector<D3DXVECTOR2>& Directions() const { return directions_; }
  const std::vector<float>& Lengths() const { return lengths_; }
  // n + 1 running lengths, from 0 to the perimeter.
  const std::vector<float>& Cumulative() const { return cumulative_; }

 private:
  std::vector<D3DXVECTOR2> points_;
  std::vector<D3DXVECTOR2> directions_;
  std::vector<float> lengths_;
  std::vector<float> cumulative_;
};

// The tracer of a closed loop; it reads the loop's tables (not owned) at each call.
class ZKW_LoopTracer : public ZKW_StripeTracer {
 public:
  explicit ZKW_LoopTracer(const ZKW_LoopZerroLine* loop) : loop_(loop) {}

  // Point 0 ... point n - 1 and then point 0 again, so that consecutive pairs cover every segment
  // of the loop. Writes x and y only.
  bool Next(unsigned* state, D3DXVECTOR3* out) const override;
  // The point at `length` wrapped around the perimeter (a negative length stays before point 0
  // on the first segment), with the segment's right-hand normal as direction (may be null). The
  // offset is not used. A loop without length answers false with the point at (0, 0, 0).
  bool Trace(float length, float offset, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;

 private:
  const ZKW_LoopZerroLine* loop_;
};
