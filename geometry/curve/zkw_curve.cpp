#include "geometry/curve/zkw_curve.h"

#include <utility>

#include "platform/math/d3dx_math.h"

bool ZKW_Curve::ClosestPoint(const D3DXVECTOR3& point, D3DXVECTOR3* closest,
                             D3DXVECTOR3* tangent) const {
  const size_t n = samples_.size();
  if (n < 2) return false;
  size_t best = 0;
  D3DXVECTOR3 bestPoint;
  float bestDistance = 0.0f;
  for (size_t i = 0; i + 1 < n; ++i) {
    const D3DXVECTOR3& a = samples_[i].position;
    const D3DXVECTOR3& b = samples_[i + 1].position;
    const float length = samples_[i].segmentLength;
    D3DXVECTOR3 candidate = a;
    if (length != 0.0f) {
      const D3DXVECTOR3 ab = b - a;
      const D3DXVECTOR3 aq = point - a;
      const float t = D3DXVec3Dot(&aq, &ab) / (length * length);
      candidate = t < 0.0f ? a : t > 1.0f ? b : a + ab * t;
    }
    const D3DXVECTOR3 d = point - candidate;
    const float distance = D3DXVec3LengthSq(&d);
    if (i == 0 || distance < bestDistance) {
      best = i;
      bestPoint = candidate;
      bestDistance = distance;
    }
  }
  if (closest != nullptr) *closest = bestPoint;
  if (tangent != nullptr) {
    const float length = samples_[best].segmentLength;
    const D3DXVECTOR3 chord = samples_[best + 1].position - samples_[best].position;
    *tangent = length != 0.0f ? chord * (1.0f / length) : D3DXVECTOR3();
  }
  return true;
}

float ZKW_Curve::TotalLength() const {
  return Cursor().TotalLength();
}

bool ZKW_Curve::PointAtLength(float length, float offset, D3DXVECTOR3* point,
                              D3DXVECTOR3* direction) const {
  CurveCursor cursor(&samples_);
  return cursor.SeekLength(length, offset, point, direction);
}

bool ZKW_Curve::DirectionAtLength(float length, D3DXVECTOR3* direction) const {
  const int n = static_cast<int>(samples_.size());
  if (!(length >= 0.0f) || n < 2) return false;
  const LengthBracket b = BracketLength(samples_, length);
  const int lo = b.hit >= 0 ? b.hit : b.lo;
  const int hi = b.hit >= 0 ? b.hit + 1 : b.hi;
  const D3DXVECTOR3 chord = samples_[hi].position - samples_[lo].position;
  D3DXVec3Normalize(direction, &chord);
  return true;
}

void ZKW_Curve::Rebuild() {
  std::vector<CurveSample> fresh;
  Tessellate(fresh, samplesPerSegment);
  samples_ = std::move(fresh);
}

void ZKW_Curve::Tessellate(std::vector<CurveSample>& /*out*/, int /*samplesPerSegment*/) {}

void ZKW_Curve::ForEachSegment(
    std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const {
  for (size_t i = 1; i < samples_.size(); ++i)
    visit(samples_[i - 1].position, samples_[i].position);
}

void ZKW_Curve::ForEachLength(
    std::function<void(const float& start, const float& end)> visit) const {
  for (size_t i = 0; i + 1 < samples_.size(); ++i) {
    const float start = i == 0 ? 0.0f : samples_[i - 1].cumulativeLength;
    visit(start, samples_[i].cumulativeLength);
  }
}
