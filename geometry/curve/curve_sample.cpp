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
