#include "fx/colour/ds_day_to_night.h"

#include <array>
#include <cmath>

#include "core/param/param_reads.h"

DS_DayToNight::DS_DayToNight(const DS_DayToNight& other)
    : DS_FX_Constructor(other),
      multiplyColor(other.multiplyColor),
      softLight(other.softLight),
      desaturation(other.desaturation) {
  softLight.SetHSB(softLight.hue.Value(), softLight.saturation.Value(),
                   softLight.brightness.Value());
}

bool DS_DayToNight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_DayToNight", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(multiplyColor.Value());
  io.WriteUInt32(softLight.hue.Value());
  io.WriteUInt32(softLight.saturation.Value());
  io.WriteUInt32(softLight.brightness.Value());
  const D3DXCOLOR& c = softLight.Color();
  io.WriteFloat(c.r);
  io.WriteFloat(c.g);
  io.WriteFloat(c.b);
  io.WriteFloat(c.a);
  io.WriteUInt32(desaturation.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_DayToNight::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadDword(multiplyColor.RawValue());
  io.ReadUInt32(softLight.hue.RawValue());
  io.ReadUInt32(softLight.saturation.RawValue());
  io.ReadUInt32(softLight.brightness.RawValue());
  D3DXCOLOR c = softLight.Color();
  io.ReadFloat(c.r);
  io.ReadFloat(c.g);
  io.ReadFloat(c.b);
  io.ReadFloat(c.a);
  softLight.SetColorRaw(c);
  ReadChangedUInt32(archive, desaturation);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_DayToNight::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindScale(canvas);
  const std::array<float, 4> multiply = ColorWordFloats(multiplyColor.Value(), 1.0f);
  const D3DXCOLOR& soft = softLight.Color();
  const float softColor[4] = {soft.r, soft.g, soft.b, soft.a};
  effect->SetFloatArray("mul_color", multiply.data(), 4);
  effect->SetFloatArray("soft_light_color", softColor, 4);
  effect->SetFloat("Fade", std::sin(TimelineValue() * 1.5707964f));
  effect->SetFloat("Disaturate", desaturation.Scaled());
  BindCommonQuad(canvas);
}
