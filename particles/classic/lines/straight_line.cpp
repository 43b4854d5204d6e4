#include "particles/classic/lines/straight_line.h"

namespace {

void WritePoint(DS_IOF_Virtual& io, const D3DXVECTOR3& p) {
  io.WriteFloat(p.x);
  io.WriteFloat(p.y);
  io.WriteFloat(p.z);
}

void ReadPoint(DS_IOF_Virtual& io, D3DXVECTOR3& p) {
  io.ReadFloat(p.x);
  io.ReadFloat(p.y);
  io.ReadFloat(p.z);
}

}  // namespace

bool DS_StraightLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StraightLine", kVersion);
  WritePoint(archive.io(), start.Value());
  WritePoint(archive.io(), end.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool DS_StraightLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadPoint(archive.io(), start.RawValue());
  ReadPoint(archive.io(), end.RawValue());
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}
