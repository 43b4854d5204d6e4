#include "core/param/oscillation_params.h"

#include "core/param/param_reads.h"

void ReadOscillationParams(DS_IOF_Archive& archive, OscillationParams& params) {
  ReadChangedUInt32(archive, params.amplitude);
  ReadChangedUInt32(archive, params.frequency);
  archive.io().ReadInt32(params.mode.RawValue());
}

void WriteOscillationParams(DS_IOF_Archive& archive, const OscillationParams& params) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(params.amplitude.Value());
  io.WriteUInt32(params.frequency.Value());
  io.WriteInt32(params.mode.Value());
}
