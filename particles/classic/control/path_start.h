#pragma once

#include "geometry/path/spline_path.h"
#include "platform/math/d3dx_types.h"

// Where the controls that run along a path start their particles: the position of the path's
// first control point, the origin for a path without points.
inline D3DXVECTOR3 FirstControlPoint(const SplinePath& path) {
  const auto& points = path.Value();
  return !points.empty() && points.front() ? points.front()->Value() : D3DXVECTOR3(0, 0, 0);
}
