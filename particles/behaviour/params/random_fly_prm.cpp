#include "particles/behaviour/params/random_fly_prm.h"

#include "core/param/param_reads.h"

void ReadRandomFlyPrm(DS_IOF_Archive& archive, RandomFlyPrm& param) {
  ReadBlockVersion(archive);
  ReadChangedUInt32(archive, param.speed);
  ReadChangedUInt32(archive, param.vertical);
  ReadChangedUInt32(archive, param.retargetRate);
  ReadChangedUInt32(archive, param.travelTime);
}

void WriteRandomFlyPrm(DS_IOF_Archive& archive, const RandomFlyPrm& param) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  io.WriteUInt32(param.speed.Value());
  io.WriteUInt32(param.vertical.Value());
  io.WriteUInt32(param.retargetRate.Value());
  io.WriteUInt32(param.travelTime.Value());
}
