#include "core/param/color_params.h"

#include "core/param/param_reads.h"

void ReadColorAlphaParam(DS_IOF_Archive& archive, ColorAlphaParam& color) {
  archive.io().ReadDword(color.RawValue());
  ReadChangedUInt32(archive, color.alpha);
}

void WriteColorAlphaParam(DS_IOF_Archive& archive, const ColorAlphaParam& color) {
  archive.io().WriteDword(color.Value());
  archive.io().WriteUInt32(color.alpha.Value());
}

std::array<float, 4> ColorWordFloats(uint32_t word, float alpha) {
  return {static_cast<float>(word & 0xFF) / 255.0f, static_cast<float>((word >> 8) & 0xFF) / 255.0f,
          static_cast<float>((word >> 16) & 0xFF) / 255.0f, alpha};
}
