#include "core/param/smart_points.h"

#include <memory>

#include "core/archive/vector_io.h"

void DX_BSplinePnt::Write(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  WriteVector3(io, Value());
  WriteVector3(io, firstHandle.Value());
  WriteVector3(io, secondHandle.Value());
}

ZKW_CornerBSplinePnt::ZKW_CornerBSplinePnt(const DX_BSplinePnt& point) {
  SetValueSilently(point.Value());
  firstHandle.SetValueSilently(point.firstHandle.Value());
  secondHandle.SetValueSilently(point.secondHandle.Value());
}

void ReadSmartPoint(DS_IOF_Archive& archive, DX_SmartPnt& point) {
  D3DXVECTOR3 v = point.Value();
  ReadVector3(archive.io(), v);
  point.SetValueSilently(v);
  point.tag = DX_SmartPnt::NewTag();
}

void ReadSmartPointVector(DS_IOF_Archive& archive, std::vector<DS_SafePtr<DX_SmartPnt>>& points) {
  constexpr uint64_t kPointBytes = 12;
  ReadPointVector(archive, points, kPointBytes, ReadSmartPoint);
}

void WriteSmartPointVector(DS_IOF_Archive& archive,
                           const std::vector<DS_SafePtr<DX_SmartPnt>>& points) {
  archive.io().WriteDword(static_cast<uint32_t>(points.size()));
  for (const auto& point : points)
    WriteVector3(archive.io(), point ? point->Value() : D3DXVECTOR3());
}

void ReadCamPathPoint(DS_IOF_Archive& archive, DX_CamPathPnt& point) {
  int32_t version = 0;
  archive.io().ReadInt32(version);
  ReadSmartPoint(archive, point);
  archive.io().ReadFloat(point.travelTime.RawValue());
  if (version > 0) archive.io().ReadUInt32(point.zoomPercent.RawValue());
}

void WriteCamPathPoint(DS_IOF_Archive& archive, const DX_CamPathPnt& point) {
  archive.io().WriteInt32(1);
  WriteVector3(archive.io(), point.Value());
  archive.io().WriteFloat(point.travelTime.Value());
  archive.io().WriteUInt32(point.zoomPercent.Value());
}
