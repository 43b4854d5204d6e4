#include "core/param/text_style_params.h"

#include "core/param/param_reads.h"

void ReadFontData(DS_IOF_Archive& archive, FontData& font) {
  DS_IOF_Virtual& io = archive.io();
  uint32_t weight = static_cast<uint32_t>(font.weight);
  io.ReadInt32(font.height);
  io.ReadUInt32(weight);
  font.weight = static_cast<int32_t>(weight);
  io.ReadInt32(font.flag);
  io.ReadWideString(font.face);
}

void WriteFontData(DS_IOF_Archive& archive, const FontData& font) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(font.height);
  io.WriteUInt32(static_cast<uint32_t>(font.weight));
  io.WriteInt32(font.flag);
  io.WriteWideString(font.face);
}

void FontStyleParams::Read(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  ReadBlockVersion(archive);
  io.ReadWideString(face.RawValue());
  io.ReadUInt32(size.RawValue());
  io.ReadInt32(style1.RawValue());
  io.ReadInt32(style2.RawValue());
  ReadColorAlphaParam(archive, color);
}

void FontStyleParams::Save(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(version);
  io.WriteWideString(face.Value());
  io.WriteUInt32(size.Value());
  io.WriteInt32(style1.Value());
  io.WriteInt32(style2.Value());
  WriteColorAlphaParam(archive, color);
}

void TextStyleParams::Read(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  const int32_t stored = ReadBlockVersion(archive);
  io.ReadWideString(text.RawValue());
  font.Read(archive);
  io.ReadInt32(value1.RawValue());
  io.ReadInt32(value2.RawValue());
  if (stored > 1) io.ReadInt32(value3.RawValue());
}

void TextStyleParams::Save(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(version);
  io.WriteWideString(text.Value());
  font.Save(archive);
  io.WriteInt32(value1.Value());
  io.WriteInt32(value2.Value());
  io.WriteInt32(value3.Value());
}

void TextLayerParams::Read(DS_IOF_Archive& archive) {
  archive.io().ReadInt32(enabled.RawValue());
  ReadColorAlphaParam(archive, color);
  archive.io().ReadUInt32(amount.RawValue());
}

void TextLayerParams::Save(DS_IOF_Archive& archive) const {
  archive.io().WriteInt32(enabled.Value());
  WriteColorAlphaParam(archive, color);
  archive.io().WriteUInt32(amount.Value());
}
