#pragma once

#include <vector>

#include "platform/math/d3dx_types.h"

// One segment of an onion ring: from `start` along the unit `direction` for `length`;
// `cumulative` is the ring's arc length at its end, `turn` the cross product of the previous
// segment's direction with this one's (0 for the first).
struct OnionRingNode {
  D3DXVECTOR2 start;
  D3DXVECTOR2 direction;
  float length = 0.0f;
  float cumulative = 0.0f;
  float turn = 0.0f;
};

// One layer of an onion offset: a polyline parametrised by arc length, and the part of the build
// distance still to be offset when it was recorded.
struct OnionRing {
  std::vector<OnionRingNode> nodes;
  float remaining = 0.0f;

  // Appends the segment from `from` to `to` unless it is shorter than 1.0 (or not a usable
  // length) or, not being `forced`, goes straight on from the last segment (a turn within 1e-6).
  // Answers whether it was appended; a caller then takes `to` as the next `from`, so a rejected
  // point is dropped and the following segment starts at the last accepted one.
  bool Append(const D3DXVECTOR2& from, const D3DXVECTOR2& to, bool forced);

  // The ring's arc length; 0 without nodes.
  float Length() const { return nodes.empty() ? 0.0f : nodes.back().cumulative; }
  // The point at arc length `s` (on the first segment whose end lies at or beyond it, extended
  // past the ends) and the ring's left normal there (may be null). False without nodes.
  bool PointAt(float s, D3DXVECTOR3* point, D3DXVECTOR3* normal) const;
  // The segment starts in order, then the end of the last segment (z = 0).
  bool NextVertex(unsigned* state, D3DXVECTOR3* out) const;
};
