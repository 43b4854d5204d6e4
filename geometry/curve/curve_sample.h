#pragma once

#include <vector>

#include "platform/math/d3dx_types.h"

// One sample of a curve's dense sample list. Sample i describes the segment from sample i to
// sample i + 1, which covers the arc lengths [cumulativeLength - segmentLength,
// cumulativeLength]; the last sample carries no length (both 0).
struct CurveSample {
  D3DXVECTOR3 position;
  D3DXVECTOR3 tangent;  // unit length, or zero for the kinds that compute none
  float segmentLength = 0.0f;
  float cumulativeLength = 0.0f;
};
static_assert(sizeof(CurveSample) == 32, "a sample is eight floats");

// Appends a sample with lengths 0 and fills the lengths of the sample before it: the distance
// between the two positions (the square root, in double precision, of the float sum of squares)
// and the running sum of the distances.
void AppendCurveSample(std::vector<CurveSample>& samples, const D3DXVECTOR3& position,
                       const D3DXVECTOR3& tangent);

// The bisection over cumulative lengths behind the arc-length queries, on a list of at least two
// samples: [lo, hi] starts as [0, n - 1] and narrows while hi - lo > 1, until it brackets one
// segment or meets a segment `hit` that holds `length` (then answered; -1 otherwise). A length
// beyond the end brackets the last segment.
struct LengthBracket {
  int lo = 0;
  int hi = 0;
  int hit = -1;
};
LengthBracket BracketLength(const std::vector<CurveSample>& samples, float length);
