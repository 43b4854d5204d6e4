#include "geometry/path/zkw_path_ctrl_points.h"

#include <cmath>

#include "core/math/parametric_spline_2d.h"
#include "platform/math/d3dx_math.h"

void ZKW_PathCtrlPoints::Rebuild() {
  positions_.clear();
  const int count = GetCount();
  if (smoothing.Value() != 0 && count > 2) {
    ParametricSpline2D spline;
    for (int i = 0; i < count; ++i) {
      const D3DXVECTOR3& p = ControlPointAt(i)->Value();
      spline.AddPoint(p.x, p.y);
    }
    spline.Build();
    spline.Sample(positions_);
    return;
  }
  positions_.reserve(count);
  for (int i = 0; i < count; ++i)
    positions_.push_back(ControlPointAt(i)->Value());
}

void ZKW_PathCtrlPoints::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  for (size_t i = 0; i + 1 < positions_.size(); ++i)
    visit(positions_[i], positions_[i + 1]);
}

double ZKW_PathCtrlPoints::RoundTripLength() const {
  double length = 0.0;
  for (size_t i = 1; i < positions_.size(); ++i) {
    const D3DXVECTOR3 d = positions_[i] - positions_[i - 1];
    const float segment = D3DXVec3Length(&d);
    if (segment > 0.0f) length += 2.0 * segment;
  }
  return length;
}

D3DXVECTOR3* ZKW_PathCtrlPoints::StepAlongPoints(D3DXVECTOR3* point) {
  const int n = static_cast<int>(positions_.size());
  if (n == 0) return point;
  if (cursor.index < 0 || cursor.index >= n) cursor = PathCursor{};
  if (!std::isfinite(cursor.distance)) cursor.distance = 0.0f;
  if (n == 1) {
    *point = positions_[0];
    return point;
  }

  // Every 2 (n - 1) segments (to one end, to the other and back) the cursor is back at the same
  // index going the same way. A walk that gets that far cuts its distance by whole round trips,
  // or stays where it is when no segment has a length (zero, or NaN from bad positions).
  const int roundTripSegments = 2 * (n - 1);
  int walked = 0;
  for (;;) {
    if (walked == roundTripSegments) {
      const double roundTrip = RoundTripLength();
      if (roundTrip == 0.0) {
        *point = positions_[cursor.index];
        return point;
      }
      cursor.distance = static_cast<float>(std::fmod(double{cursor.distance}, roundTrip));
      walked = 0;
    }
    int next = cursor.forward ? cursor.index + 1 : cursor.index - 1;
    if (next < 0 || next >= n) {  // a list shortened under the cursor: turn back
      cursor.forward = !cursor.forward;
      next = cursor.forward ? cursor.index + 1 : cursor.index - 1;
    }
    const D3DXVECTOR3 d = positions_[next] - positions_[cursor.index];
    float length = D3DXVec3Length(&d);
    if (!(length > 0.0f)) length = 0.0f;
    if (length > 0.0f) cursor.direction = d / length;
    if (length > cursor.distance) {
      *point = positions_[cursor.index] + cursor.direction * cursor.distance;
      return point;
    }
    cursor.index = next;
    if (next == 0 || next == n - 1) cursor.forward = !cursor.forward;
    cursor.distance -= length;
    ++walked;
  }
}
