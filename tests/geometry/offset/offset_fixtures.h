#pragma once

#include <memory>
#include <vector>

#include "geometry/offset/zkw_curve_offset_maker.h"
#include "platform/math/d3dx_types.h"

// Hands `points` to an offsetter as its centre line.
inline void SetCentreLine(ZKW_CurveOffsetMaker& offsetter, const std::vector<D3DXVECTOR3>& points) {
  offsetter.SetPoints(static_cast<unsigned>(points.size()),
                      [&points](unsigned i) -> const D3DXVECTOR3& { return points.at(i); });
}
