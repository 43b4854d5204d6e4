#include "core/param/color_set_params.h"

#include "core/param/param_reads.h"

ColorSetParams::ColorSetParams() {
  colors.Insert(0, 0xFFFFFF);
  colors.Insert(1, 0x000000);
}

void ReadColorSetParams(DS_IOF_Archive& archive, ColorSetParams& params) {
  DS_IOF_Virtual& io = archive.io();
  int32_t version = 0;
  io.ReadInt32(version);
  ReadDwordVector(archive, params.colors.RawValue());
  io.ReadInt32(params.mode1.RawValue());
  io.ReadInt32(params.mode2.RawValue());
  ReadChangedUInt32(archive, params.opacity);
}

void WriteColorSetParams(DS_IOF_Archive& archive, const ColorSetParams& params) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  const auto& colors = params.colors.Value();
  io.WriteDword(static_cast<uint32_t>(colors.size()));
  for (uint32_t color : colors)
    io.WriteDword(color);
  io.WriteInt32(params.mode1.Value());
  io.WriteInt32(params.mode2.Value());
  io.WriteUInt32(params.opacity.Value());
}
