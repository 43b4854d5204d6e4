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
