#include "geometry/shape/spiral_params.h"

#include "core/param/param_reads.h"

void ReadSpiralParams(DS_IOF_Archive& archive, SpiralParams& params) {
  ReadBlockVersion(archive);
  ReadChangedUInt32(archive, params.startAngle);
  ReadChangedUInt32(archive, params.armSpan);
  archive.io().ReadUInt32(params.armCount.RawValue());
  archive.io().ReadInt32(params.turn.RawValue());
  ReadChangedUInt32(archive, params.twist);
}

void WriteSpiralParams(DS_IOF_Archive& archive, const SpiralParams& params) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  io.WriteUInt32(params.startAngle.Value());
  io.WriteUInt32(params.armSpan.Value());
  io.WriteUInt32(params.armCount.Value());
  io.WriteInt32(params.turn.Value());
  io.WriteUInt32(params.twist.Value());
}
