#pragma once

#include <vector>

#include "geometry/curve/curve_sample.h"
#include "platform/math/d3dx_types.h"

// A position on a curve's sample list, kept by callers between frames to move something along
// the curve by arc length. It points at the sample vector itself, so it survives a rebuild of the
// curve (it re-reads the size on every call and parks at the end when the list has become
// shorter than its segment index), but not the curve.
//
// Offsets are lateral, in the XY plane: a positive offset lies to the right of the direction of
// travel, that is along the tangent turned a quarter turn clockwise (t.y, -t.x).
//
// In a segment of zero length the position is taken at its start (t = 0).
class CurveCursor {
 public:
  explicit CurveCursor(const std::vector<CurveSample>* samples = nullptr) : samples(samples) {}

  // Moves `distance` forward, segment by segment; the point and the direction (the tangents
  // blended linearly, not normalised) are interpolated within the segment reached. Past the end
  // the cursor parks on the end of the last segment, writes the last sample's position and
  // tangent and answers false, as it does on every later call. A negative distance moves back
  // within the current segment only. Fewer than two samples: false, outputs untouched.
  bool Advance(float distance, D3DXVECTOR3* point, D3DXVECTOR3* direction);

  // The same walk; the point lies between the two samples moved by `offset` along their own
  // tangents' right-hand normals (z = 0), and the direction (may be null) is the chord between
  // those offset points, not normalised.
  bool AdvanceOffset(float distance, float offset, D3DXVECTOR3* point, D3DXVECTOR3* direction);

  // Jumps to arc length `length` (bisection over the cumulative lengths), then answers as
  // AdvanceOffset. The point starts as (0, 0, 0) and the direction (may be null) as (1, 0, 0).
  // A length below 0 (or NaN) answers false; one sample gives its position and tangent and true;
  // no samples false; beyond the total length the offset end of the curve and false.
  bool SeekLength(float length, float offset, D3DXVECTOR3* point, D3DXVECTOR3* direction);

  // The arc length of the whole curve: the cumulative length of the next-to-last sample; 0 with
  // fewer than two samples.
  float TotalLength() const;

  const std::vector<CurveSample>* samples;
  int segment = 0;
  float distanceInSegment = 0.0f;

 private:
  int SampleCount() const { return samples != nullptr ? static_cast<int>(samples->size()) : 0; }
  // Moves along the list; false once past the end, with the cursor parked on the end of the last
  // segment. Needs two samples.
  bool Walk(float distance);
  // Where the cursor stands within its segment, 0 to 1 (0 in a segment of zero length).
  float Fraction() const;
  void Interpolate(D3DXVECTOR3* point, D3DXVECTOR3* direction) const;
  void InterpolateOffset(float offset, D3DXVECTOR3* point, D3DXVECTOR3* direction) const;
};
