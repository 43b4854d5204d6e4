#pragma once

#include "core/param/smart_points.h"

// The handles a B-spline point gets when it is appended after `last`: its incoming (second)
// handle points back a third of the chord, (added - last) x -0.33, stored silently; `last`'s
// outgoing (first) handle becomes the mirror of its incoming one and, if that leaves it zero,
// a third of the chord towards the new point. Changed handles of `last` are notified.
void SetAutomaticHandles(DX_BSplinePnt& last, DX_BSplinePnt& added);
