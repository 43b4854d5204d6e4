#include "geometry/curve/curve_sample.h"

#include <cmath>

void AppendCurveSample(std::vector<CurveSample>& samples, const D3DXVECTOR3& position,
                       const D3DXVECTOR3& tangent) {
  if (!samples.empty()) {
    CurveSample& previous = samples.back();
    const D3DXVECTOR3 d = position - previous.position;
    const float squared = d.x * d.x + d.y * d.y + d.z * d.z;
    previous.segmentLength = static_cast<float>(std::sqrt(static_cast<double>(squared)));
    const float before = samples.size() >= 2 ? samples[samples.size() - 2].cumulativeLength : 0.0f;
    previous.cumulativeLength = before + previous.segmentLength;
  }
  samples.push_back({position, tangent, 0.0f, 0.0f});
}

LengthBracket BracketLength(const std::vector<CurveSample>& samples, float length) {
  LengthBracket b{0, static_cast<int>(samples.size()) - 1, -1};
  while (b.hi - b.lo > 1) {
    const int mid = b.lo + (b.hi - b.lo) / 2;
    if (length > samples[mid].cumulativeLength) {
      b.lo = mid;
    } else if (samples[mid].cumulativeLength - samples[mid].segmentLength > length) {
      b.hi = mid;
    } else {
      b.hit = mid;
      break;
    }
  }
  return b;
}
