#pragma once

#include <vector>

#include "platform/math/d3dx_types.h"

// Samples the cubic Bezier segment P0..P3 at `steps` + 1 evenly spaced parameters, appending the
// points and their tangents (the derivative). When `points` already ends exactly at P0 the
// first sample is skipped, so chained segments store each shared point once. Nothing is
// appended for steps <= 0.
void SampleCubicBezier(std::vector<D3DXVECTOR3>& points, std::vector<D3DXVECTOR3>& tangents,
                       const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                       const D3DXVECTOR3& p3, int steps);
