#include "particles/behaviour/params/spiral_prm.h"

#include "core/param/param_reads.h"

void ReadSpiralPrm(DS_IOF_Archive& archive, SpiralPrm& param) {
  DS_IOF_Virtual& io = archive.io();
  ReadBlockVersion(archive);
  ReadValueSpread(archive, param.angularSpeed);
  ReadValueSpread(archive, param.radialSpeed);
  D3DXVECTOR3& offset = param.centreOffset.RawValue();
  io.ReadFloat(offset.x);
  io.ReadFloat(offset.y);
  io.ReadFloat(offset.z);
  io.ReadInt32(param.directionMode.RawValue());
  io.ReadInt32(param.inward.RawValue());
}

void WriteSpiralPrm(DS_IOF_Archive& archive, const SpiralPrm& param) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(2);
  WriteValueSpread(archive, param.angularSpeed);
  WriteValueSpread(archive, param.radialSpeed);
  const D3DXVECTOR3& offset = param.centreOffset.Value();
  io.WriteFloat(offset.x);
  io.WriteFloat(offset.y);
  io.WriteFloat(offset.z);
  io.WriteInt32(param.directionMode.Value());
  io.WriteInt32(param.inward.Value());
}
