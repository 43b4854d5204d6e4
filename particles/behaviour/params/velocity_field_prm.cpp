#include "particles/behaviour/params/velocity_field_prm.h"

#include "core/param/param_reads.h"

void ReadVelocityFieldPrm(DS_IOF_Archive& archive, VelocityFieldPrm& param) {
  const int32_t version = ReadBlockVersion(archive);
  ReadChangedUInt32(archive, param.strength);
  ReadChangedUInt32(archive, param.noiseScale);
  ReadChangedUInt32(archive, param.noiseSpeed);
  ReadChangedUInt32(archive, param.drift.value);
  if (version >= 2) ReadChangedUInt32(archive, param.drift.spread);
  ReadChangedUInt32(archive, param.driftDirection);
}

void WriteVelocityFieldPrm(DS_IOF_Archive& archive, const VelocityFieldPrm& param) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(2);
  io.WriteUInt32(param.strength.Value());
  io.WriteUInt32(param.noiseScale.Value());
  io.WriteUInt32(param.noiseSpeed.Value());
  io.WriteUInt32(param.drift.value.Value());
  io.WriteUInt32(param.drift.spread.Value());
  io.WriteUInt32(param.driftDirection.Value());
}
