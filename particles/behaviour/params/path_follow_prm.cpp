#include "particles/behaviour/params/path_follow_prm.h"

#include "core/param/param_reads.h"

void ReadPathFollowPrm(DS_IOF_Archive& archive, PathFollowPrm& param) {
  ReadBlockVersion(archive);
  ReadChangedUInt32(archive, param.speed);
  archive.io().ReadInt32(param.bounce.RawValue());
  archive.io().ReadInt32(param.easing.RawValue());
  archive.io().ReadInt32(param.orientation.RawValue());
}

void WritePathFollowPrm(DS_IOF_Archive& archive, const PathFollowPrm& param) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  io.WriteUInt32(param.speed.Value());
  io.WriteInt32(param.bounce.Value());
  io.WriteInt32(param.easing.Value());
  io.WriteInt32(param.orientation.Value());
}
