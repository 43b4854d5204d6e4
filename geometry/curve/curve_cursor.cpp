#include "geometry/curve/curve_cursor.h"

namespace {

// A sample moved by `offset` along its tangent turned a quarter turn clockwise, in the XY plane.
D3DXVECTOR3 OffsetPosition(const CurveSample& s, float offset) {
  return {s.position.x + offset * s.tangent.y, s.position.y - offset * s.tangent.x, 0.0f};
}

}  // namespace

float CurveCursor::TotalLength() const {
  const int n = SampleCount();
  return n < 2 ? 0.0f : (*samples)[n - 2].cumulativeLength;
}

bool CurveCursor::Walk(float distance) {
  const std::vector<CurveSample>& s = *samples;
  const int last = SampleCount() - 1;
  if (segment < 0) segment = 0;
  while (segment < last) {
    distanceInSegment += distance;
    if (s[segment].segmentLength >= distanceInSegment) return true;
    distanceInSegment -= s[segment].segmentLength;
    ++segment;
    distance = 0.0f;
  }
  segment = last - 1;
  distanceInSegment = s[segment].segmentLength;
  return false;
}

float CurveCursor::Fraction() const {
  const float length = (*samples)[segment].segmentLength;
  return length > 0.0f ? distanceInSegment / length : 0.0f;
}

void CurveCursor::Interpolate(D3DXVECTOR3* point, D3DXVECTOR3* direction) const {
  const CurveSample& a = (*samples)[segment];
  const CurveSample& b = (*samples)[segment + 1];
  const float t = Fraction();
  *point = a.position + (b.position - a.position) * t;
  if (direction != nullptr) *direction = a.tangent + (b.tangent - a.tangent) * t;
}

void CurveCursor::InterpolateOffset(float offset, D3DXVECTOR3* point,
                                    D3DXVECTOR3* direction) const {
  const D3DXVECTOR3 a = OffsetPosition((*samples)[segment], offset);
  const D3DXVECTOR3 b = OffsetPosition((*samples)[segment + 1], offset);
  *point = a + (b - a) * Fraction();
  if (direction != nullptr) *direction = b - a;
}

bool CurveCursor::Advance(float distance, D3DXVECTOR3* point, D3DXVECTOR3* direction) {
  if (SampleCount() < 2) return false;
  const bool inside = Walk(distance);
  Interpolate(point, direction);
  return inside;
}

bool CurveCursor::AdvanceOffset(float distance, float offset, D3DXVECTOR3* point,
                                D3DXVECTOR3* direction) {
  if (SampleCount() < 2) return false;
  const bool inside = Walk(distance);
  InterpolateOffset(offset, point, direction);
  return inside;
}

bool CurveCursor::SeekLength(float length, float offset, D3DXVECTOR3* point,
                             D3DXVECTOR3* direction) {
  *point = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  if (direction != nullptr) *direction = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
  if (!(length >= 0.0f)) return false;
  const int n = SampleCount();
  if (n == 1) {
    *point = (*samples)[0].position;
    if (direction != nullptr) *direction = (*samples)[0].tangent;
    return true;
  }
  if (n == 0) return false;

  const std::vector<CurveSample>& s = *samples;
  if (length > s[n - 2].cumulativeLength) {
    segment = n - 2;
    distanceInSegment = s[n - 2].segmentLength;
    AdvanceOffset(0.0f, offset, point, direction);
    return false;
  }
  // The walk finishes the search forward from the bracket's start.
  const int lo = BracketLength(s, length).lo;
  segment = lo;
  distanceInSegment = 0.0f;
  return AdvanceOffset(length - (s[lo].cumulativeLength - s[lo].segmentLength), offset, point,
                       direction);
}
