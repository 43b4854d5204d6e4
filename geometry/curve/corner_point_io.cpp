#include "geometry/curve/corner_point_io.h"

#include <cstdint>
#include <memory>

#include "geometry/path/bspline_point_io.h"

void ReadCornerPoint(DS_IOF_Archive& archive, DS_SafePtr<ZKW_CornerBSplinePnt>& point) {
  if (!point) point = DS_SafePtr<ZKW_CornerBSplinePnt>(std::make_unique<ZKW_CornerBSplinePnt>());
  ReadBSplinePoint(archive, *point);
}

void ReadCornerPointVector(DS_IOF_Archive& archive, ZKW_SmartCurve<ZKW_CornerBSplinePnt>& curve) {
  constexpr uint64_t kPointBytes = 40;  // the version word and nine floats
  ReadPointVector(
      archive, curve.points.RawValue(), kPointBytes,
      [](DS_IOF_Archive& a, ZKW_CornerBSplinePnt& point) { ReadBSplinePoint(a, point); });
  curve.Rebuild();
}
