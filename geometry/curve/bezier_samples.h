#pragma once

#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/param/smart_points.h"
#include "geometry/curve/curve_sample.h"

// Samples B-spline control points as cubic Bezier segments into `out` (emptied first): each pair
// of consecutive points (a, b) is the curve a, a + a.first handle, b + b.second handle, b,
// sampled with `steps` steps; a joint that starts where the list ends is not doubled. Reversed,
// the same curves are laid out from the last point to the first. Tangents are the normalised
// derivatives (zero where the derivative is). One point gives one sample at it with tangent
// (1, 0, 0); no points, or steps below 1 with two or more points, give no samples.
void SampleBezierSegments(const std::vector<DS_SafePtr<DX_BSplinePnt>>& points, int steps,
                          bool reverse, std::vector<CurveSample>& out);
