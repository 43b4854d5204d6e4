#pragma once

#include <vector>

#include "geometry/offset/zkw_curve_offset_maker.h"
#include "platform/math/d3dx_types.h"

// An offsetter that keeps its centre line as a list of points and answers the offset points of
// each of them.
class ZKW_PointCurveOffseter : public ZKW_CurveOffsetMaker {
 public:
  // The point list becomes `count` points: the x and y of source(i), the source asked exactly
  // once per index, in order (z is dropped).
  void SetPoints(unsigned count, OffsetPointSource source) override;

  // Appends to `out` the offset points, as (x, y, 0), of centre-line point `pointIndex` on the
  // left (true) or right side at offset `distance`.
  virtual void OffsetPoints(bool left, int pointIndex, float distance,
                            std::vector<D3DXVECTOR3>* out) const = 0;

  const std::vector<D3DXVECTOR2>& Points() const { return points_; }

 protected:
  std::vector<D3DXVECTOR2> points_;
};
