#include "geometry/path/bspline_point_io.h"

#include <cstdint>
#include <memory>

#include "core/archive/vector_io.h"

namespace {

void ReadHandle(DS_IOF_Archive& archive, MediaParamT<D3DXVECTOR3>& handle) {
  D3DXVECTOR3 v = handle.Value();
  ReadVector3(archive.io(), v);
  handle.SetValueSilently(v);
}

}  // namespace

void ReadBSplinePoint(DS_IOF_Archive& archive, DX_BSplinePnt& point) {
  int32_t version = 0;
  archive.io().ReadInt32(version);
  ReadSmartPoint(archive, point);
  ReadHandle(archive, point.firstHandle);
  ReadHandle(archive, point.secondHandle);
}

void ReadBSplinePoint(DS_IOF_Archive& archive, DS_SafePtr<DX_BSplinePnt>& point) {
  if (!point) point = DS_SafePtr<DX_BSplinePnt>(std::make_unique<DX_BSplinePnt>());
  ReadBSplinePoint(archive, *point);
}

void ReadBSplinePointVector(DS_IOF_Archive& archive,
                            std::vector<DS_SafePtr<DX_BSplinePnt>>& points) {
  constexpr uint64_t kPointBytes = 40;  // the version word and nine floats
  ReadPointVector(archive, points, kPointBytes,
                  [](DS_IOF_Archive& a, DX_BSplinePnt& point) { ReadBSplinePoint(a, point); });
}

void WriteBSplinePointVector(DS_IOF_Archive& archive,
                             const std::vector<DS_SafePtr<DX_BSplinePnt>>& points) {
  archive.io().WriteDword(static_cast<uint32_t>(points.size()));
  for (const auto& point : points) {
    if (point) {
      point->Write(archive);
    } else {
      DX_BSplinePnt().Write(archive);
    }
  }
}
