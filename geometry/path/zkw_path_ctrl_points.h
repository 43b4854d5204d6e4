#pragma once

#include <functional>
#include <vector>

#include "core/param/media_param_t.h"
#include "geometry/curve/zkw_curve.h"
#include "platform/math/d3dx_types.h"

// The cursor that StepAlongPoints runs back and forth along a path's positions. Callers add their
// step to `distance` before each step. The spare fields are the callers' own; the path only
// zeroes and copies them.
struct PathCursor {
  float distance = 0.0f;  // how far past positions[index] the cursor stands
  float spare = 0.0f;
  int index = 0;
  bool forward = true;
  D3DXVECTOR3 spareVector;
  D3DXVECTOR3 direction;  // unit direction of the current segment; zero until the first step
};

// A curve along which objects move: a plain list of positions, rebuilt from the subclass's
// control points, with a cursor that runs back and forth along it (ping-pong). Only the spline
// path keeps samples; the other paths answer the sample queries as an empty curve.
class ZKW_PathCtrlPoints : public ZKW_Curve {
 public:
  ZKW_PathCtrlPoints() = default;
  // Samples, samples per segment, the smoothing value (fresh observers), cursor and positions.
  ZKW_PathCtrlPoints(const ZKW_PathCtrlPoints&) = default;

  // Empties the positions and refills them: with smoothing on and more than two control points,
  // a parametric cubic spline through their (x, y) sampled 100 times (z = 0); otherwise the
  // control points' positions. The cursor is left as it is.
  void Rebuild() override;
  // (position(i), position(i + 1)) for every pair of consecutive positions.
  void ForEachSegment(
      std::function<void(const D3DXVECTOR3& from, const D3DXVECTOR3& to)> visit) const override;

  // Walks the cursor by its distance and writes the position it reaches into `point`; answers
  // `point`. The cursor restarts at the first position when its index lies outside the list,
  // reverses at either end and steps over segments of zero length. It stays where it is when it
  // cannot move: on a single position that position is written, with no positions the point is
  // left alone, and when every position is the same that position is written. A walk of a whole
  // round trip or more goes on with what is left of its distance after whole round trips.
  D3DXVECTOR3* StepAlongPoints(D3DXVECTOR3* point);

  const std::vector<D3DXVECTOR3>& Positions() const { return positions_; }

  MediaParamT<int> smoothing{0};
  PathCursor cursor;

 protected:
  std::vector<D3DXVECTOR3> positions_;

 private:
  // Twice the length of the position list, counting only segments with a positive length.
  double RoundTripLength() const;
};
