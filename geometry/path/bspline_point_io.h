#pragma once

#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/smart_points.h"

// One B-spline point as DX_BSplinePnt::Write stores it: Int32 version (read and ignored), the
// position as ReadSmartPoint reads it, then the first and the second handle as three Float
// each, stored without notification. An empty handle gets a default point first.
void ReadBSplinePoint(DS_IOF_Archive& archive, DX_BSplinePnt& point);
void ReadBSplinePoint(DS_IOF_Archive& archive, DS_SafePtr<DX_BSplinePnt>& point);

// A Dword count, then that many points, which replace the vector's points (the old handles are
// released first). A count that the remaining bytes cannot hold fails the stream and leaves the
// vector empty.
void ReadBSplinePointVector(DS_IOF_Archive& archive,
                            std::vector<DS_SafePtr<DX_BSplinePnt>>& points);
void WriteBSplinePointVector(DS_IOF_Archive& archive,
                             const std::vector<DS_SafePtr<DX_BSplinePnt>>& points);
