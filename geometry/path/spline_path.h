#pragma once

#include <functional>
#include <vector>

#include "geometry/path/smart_path.h"

// A B-spline path: its control points sampled as cubic Bezier segments into the curve's sample
// list (the position list stays as it is), so that it answers every sample query.
class SplinePath : public SmartPath<DX_BSplinePnt> {
 public:
  SplinePath() = default;
  SplinePath(const SplinePath&) = default;

  // A new point with zero handles, then the automatic handles of a point appended after the last
  // one (SetAutomaticHandles), appended; then the path notifies.
  DX_BSplinePnt* AppendPoint(const DX_SmartPnt& point, MediaControl* source) override;
  // Inserts nothing; answers the last point (null for an empty path).
  DX_BSplinePnt* InsertPoint(int index, const DX_SmartPnt& point, MediaControl* source) override;
  // The samples of SampleBezierSegments with the path's own steps, forward.
  void Rebuild() override;
  // Over the samples, as every curve.
  void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const override;

  // The Bezier samples of the control points into `out` (see SampleBezierSegments in
  // geometry/curve/bezier_samples.h); the total length becomes their length.
  std::vector<CurveSample>& SampleBezierSegments(std::vector<CurveSample>& out, int steps,
                                                 bool reverse);

  float totalLength = 0.0f;
  int splineSamplesPerSegment = 20;
};
