#include "particles/tree/picture_options.h"

#include "core/param/param_reads.h"
#include "core/registry/read_by_name.h"

void WriteOptionBase(DS_IOF_Archive& archive, const ZKW_PtclSys_Option& option) {
  archive.io().WriteInt32(1);
  archive.io().WriteInt32(option.enabled.Value());
  archive.io().WriteWideString(option.name);
}

void ReadOptionBase(DS_IOF_Archive& archive, ZKW_PtclSys_Option& option) {
  int32_t version = 0;
  archive.io().ReadInt32(version);
  archive.io().ReadInt32(option.enabled.RawValue());
  archive.io().ReadWideString(option.name);
}

ZKW_PtclSysOption_RadialGlow::ZKW_PtclSysOption_RadialGlow() : ZKW_PtclSys_Option(u"Radial Glow") {
  texture.SetValueSilently(
      DS_SafePtr<ZKW_TextureSRC>(CreateByName(GetTextureSrcRegistry(), u"ZKW_SoftCircleTex")));
}

ZKW_PtclSysOption_Glow::ZKW_PtclSysOption_Glow() : ZKW_PtclSys_Option(u"Outer Glow") {
  reduction.SetValueSilently(50);
}

ZKW_PtclSysOption_Shadow::ZKW_PtclSysOption_Shadow() : ZKW_PtclSys_Option(u"Shadow") {
  angle.SetValue(315);
  reduction.SetValueSilently(50);
}

void WriteGlowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_Glow& glow) {
  DS_IOF_Virtual& io = archive.io();
  WriteOptionBase(archive, glow);
  io.WriteInt32(2);
  io.WriteInt32(glow.mode.Value());
  io.WriteInt32(glow.extraPasses.Value());
  io.WriteDword(glow.colour.Value());
  io.WriteUInt32(glow.brightness.Value());
  io.WriteUInt32(glow.reduction.Value());
}

void WriteRadialGlowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_RadialGlow& radial) {
  DS_IOF_Virtual& io = archive.io();
  WriteOptionBase(archive, radial);
  io.WriteInt32(1);
  io.WriteUInt32(radial.size.Value());
  io.WriteInt32(radial.blend.Value());
  WriteColorAlphaParam(archive, radial.colour);
  if (const ZKW_TextureSRC* source = radial.texture.Source()) {
    source->Save(archive);
  } else {
    ZKW_SoftCircleTex().Save(archive);
  }
}

void WriteShadowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_Shadow& shadow) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  io.WriteInt32(1);
  WriteOptionBase(archive, shadow);
  io.WriteUInt32(shadow.reduction.Value());
  io.WriteDword(shadow.colour.Value());
  io.WriteInt32(shadow.extraPasses.Value());
  io.WriteUInt32(shadow.brightness.Value());
  WriteGraphSpreadPrm(archive, shadow.distance);
  io.WriteUInt32(shadow.angle.Value());
}

void WriteOptions(DS_IOF_Archive& archive, const PictureOptions& options) {
  archive.io().WriteInt32(1);
  WriteGlowOption(archive, options.glow);
  WriteRadialGlowOption(archive, options.radialGlow);
  WriteShadowOption(archive, options.shadow);
}

void ReadGlowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_Glow& glow) {
  DS_IOF_Virtual& io = archive.io();
  ReadOptionBase(archive, glow);
  int32_t version = 0;
  io.ReadInt32(version);
  io.ReadInt32(glow.mode.RawValue());
  io.ReadInt32(glow.extraPasses.RawValue());
  io.ReadDword(glow.colour.RawValue());
  ReadChangedUInt32(archive, glow.brightness);
  io.ReadUInt32(glow.reduction.RawValue());
}

void ReadRadialGlowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_RadialGlow& glow) {
  DS_IOF_Virtual& io = archive.io();
  ReadOptionBase(archive, glow);
  int32_t version = 0;
  io.ReadInt32(version);
  ReadChangedUInt32(archive, glow.size);
  io.ReadInt32(glow.blend.RawValue());
  ReadColorAlphaParam(archive, glow.colour);
  glow.SetTextureSource(ReadTextureSrc(archive));
}

void ReadShadowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_Shadow& shadow) {
  DS_IOF_Virtual& io = archive.io();
  int32_t version = 0;
  io.ReadInt32(version);
  io.ReadInt32(version);
  ReadOptionBase(archive, shadow);
  io.ReadUInt32(shadow.reduction.RawValue());
  io.ReadDword(shadow.colour.RawValue());
  io.ReadInt32(shadow.extraPasses.RawValue());
  ReadChangedUInt32(archive, shadow.brightness);
  ReadGraphSpreadPrm(archive, shadow.distance);
  ReadChangedUInt32(archive, shadow.angle);
}
