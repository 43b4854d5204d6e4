#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/smart_points.h"
#include "geometry/curve/zkw_smart_curve.h"

// One corner point as DX_BSplinePnt::Write stores it; an empty handle gets a default point first.
void ReadCornerPoint(DS_IOF_Archive& archive, DS_SafePtr<ZKW_CornerBSplinePnt>& point);

// A Dword count, then that many corner points, which replace the curve's points without
// notification (the old handles are released first); then the curve's Rebuild. A count that the
// remaining bytes cannot hold fails the stream and leaves the curve without points.
void ReadCornerPointVector(DS_IOF_Archive& archive, ZKW_SmartCurve<ZKW_CornerBSplinePnt>& curve);
