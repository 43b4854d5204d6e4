#include "geometry/path/spline_path.h"

#include <memory>

#include "geometry/curve/bezier_samples.h"
#include "geometry/curve/bspline_handles.h"

DX_BSplinePnt* SplinePath::AppendPoint(const DX_SmartPnt& point, MediaControl* source) {
  DS_SafePtr<DX_BSplinePnt> added(std::make_unique<DX_BSplinePnt>(point));
  if (!points_.empty()) SetAutomaticHandles(*points_.back(), *added);
  points_.push_back(added);
  NotifyChanged(source);
  return added.Get();
}

DX_BSplinePnt* SplinePath::InsertPoint(int, const DX_SmartPnt&, MediaControl*) {
  return points_.empty() ? nullptr : points_.back().Get();
}

void SplinePath::Rebuild() {
  std::vector<CurveSample> fresh;
  SampleBezierSegments(fresh, splineSamplesPerSegment, false);
  MutableSamples() = std::move(fresh);
}

void SplinePath::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  ZKW_Curve::ForEachSegment(std::move(visit));
}

std::vector<CurveSample>& SplinePath::SampleBezierSegments(std::vector<CurveSample>& out, int steps,
                                                           bool reverse) {
  ::SampleBezierSegments(points_, steps, reverse, out);
  totalLength = out.size() < 2 ? 0.0f : out[out.size() - 2].cumulativeLength;
  return out;
}
