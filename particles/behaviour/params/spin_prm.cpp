#include "particles/behaviour/params/spin_prm.h"

#include "core/param/param_reads.h"

void ReadSpinPrm(DS_IOF_Archive& archive, SpinPrm& param) {
  ReadBlockVersion(archive);
  archive.io().ReadInt32(param.direction.RawValue());
  ReadValueSpread(archive, param.speed);
  archive.io().ReadInt32(param.mode.RawValue());
  ReadValueSpread(archive, param.angle);
}

void WriteSpinPrm(DS_IOF_Archive& archive, const SpinPrm& param) {
  archive.io().WriteInt32(1);
  archive.io().WriteInt32(param.direction.Value());
  WriteValueSpread(archive, param.speed);
  archive.io().WriteInt32(param.mode.Value());
  WriteValueSpread(archive, param.angle);
}
