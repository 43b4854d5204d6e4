#include "fx/colour/ds_color_shift_fx.h"

#include <array>
#include <cmath>

#include "core/param/param_reads.h"

namespace {

// The pair an effect scales a channel with, c x pair.x + pair.y: towards 0 for a factor below 1,
// towards 1 above it.
std::array<float, 2> ShiftPair(float factor) {
  if (factor < 1.0f) return {factor, 0.0f};
  return {2.0f - factor, factor - 1.0f};
}

}  // namespace

DS_ColorShiftFX::DS_ColorShiftFX() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
}

bool DS_ColorShiftFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ColorShiftFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(hueMode.Value());
  io.WriteUInt32(hueSwing.Value());
  io.WriteUInt32(hueShift.Value());
  io.WriteUInt32(saturationShift.Value());
  io.WriteUInt32(valueShift.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_ColorShiftFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadInt32(hueMode.RawValue());
  ReadChangedUInt32(archive, hueSwing);
  ReadChangedUInt32(archive, hueShift);
  ReadChangedUInt32(archive, saturationShift);
  ReadChangedUInt32(archive, valueShift);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ColorShiftFX::Tick(float time) {
  const float v = TimelineValue();
  saturationFactor = saturationShift.Scaled() * v + 1.0f;
  valueFactor = valueShift.Scaled() * v + 1.0f;
  float s = 0.0f;
  switch (const int m = hueMode.Value()) {
    case 0:
      break;
    case 1: {
      // The whole phase modulo 2, its sign kept; fmod keeps phases past the int range exact.
      const float k = std::fmod(std::floor(Phase()), 2.0f);
      saturationFactor = (saturationFactor - 1.0f) * k + 1.0f;
      valueFactor = (valueFactor - 1.0f) * k + 1.0f;
      s = hueSwing.Scaled() * k;
      break;
    }
    case 5:
      s = Phase() / 6.2831855f;
      break;
    default:
      s = WaveValue(m) * hueSwing.Scaled();
      break;
  }
  hue = (hueShift.Scaled() + s) * v;
  DS_FX_Constructor::Tick(time);
}

void DS_ColorShiftFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetFloat("color_shift", hue);
  const std::array<float, 2> value = ShiftPair(valueFactor);
  const std::array<float, 2> saturation = ShiftPair(saturationFactor);
  effect->SetFloatArray("val_shift", value.data(), 2);
  effect->SetFloatArray("sat_shift", saturation.data(), 2);
  BindCommon(canvas);
}
