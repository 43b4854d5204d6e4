#include "particles/behaviour/params/loop_prm.h"

#include "core/param/param_reads.h"

void ReadLoopPrm(DS_IOF_Archive& archive, LoopPrm& param) {
  const int32_t version = ReadBlockVersion(archive);
  ReadGraphSpreadPrm(archive, param.speed);
  ReadChangedUInt32(archive, param.direction);
  if (version > 1) archive.io().ReadInt32(param.edgeMode.RawValue());
}

void WriteLoopPrm(DS_IOF_Archive& archive, const LoopPrm& param) {
  archive.io().WriteInt32(2);
  WriteGraphSpreadPrm(archive, param.speed);
  archive.io().WriteUInt32(param.direction.Value());
  archive.io().WriteInt32(param.edgeMode.Value());
}
