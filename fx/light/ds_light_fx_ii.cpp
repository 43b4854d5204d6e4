#include "fx/light/ds_light_fx_ii.h"

#include <array>

#include "core/param/param_reads.h"
#include "fx/light/ds_light_fx.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The effect of records older than version 2, which linked none of their own.
constexpr int64_t kOldLightEffect = 190;

}  // namespace

bool DS_LightFX_II::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightFX_II", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(strength.Value());
  io.WriteInt32(pulseMode.Value());
  io.WriteInt32(blendMode.Value());
  io.WriteDword(lightColor.Value());
  io.WriteInt32(targetMode.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_LightFX_II::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, strength);
  io.ReadInt32(pulseMode.RawValue());
  io.ReadInt32(blendMode.RawValue());
  io.ReadDword(lightColor.RawValue());
  if (version > 2) io.ReadInt32(targetMode.RawValue());
  const bool read = DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
  if (version < 2) {
    effectLink = DS_HLSLEffectFile(u"glimres.dll", kOldLightEffect);
    if (blendMode.Value() == 3) blendMode.SetValue(4);
  }
  return read;
}

float DS_LightFX_II::Pulse() const {
  switch (pulseMode.Value()) {
    case 1:
      return SmoothPulse(Phase());
    case 2:
      return OnOffPulse(Phase());
    case 3:
      return NoisePulse(Phase());
    default:
      return 1.0f;
  }
}

void DS_LightFX_II::BindLight(DS_2D_Light& canvas, float alpha) {
  const std::array<float, 4> colour = ColorWordFloats(lightColor.Value(), alpha);
  effect->SetFloatArray("BlendColor", colour.data(), 4);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
}

void DS_LightFX_II::DrawWholePicture(DS_2D_Light& canvas) {
  canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
}

void DS_LightFX_II::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindLight(canvas, strength.Scaled() * Pulse() * TimelineValue());
  static constexpr const char* kTechniques[] = {"Blend_Normal", "Blend_Screen", "Blend_ColorDodge",
                                                "Linear_Dodge", nullptr,        "Blend_Sum"};
  const int blend = blendMode.Value();
  if (blend >= 0 && blend < 6 && kTechniques[blend] != nullptr)
    effect->SetTechnique(kTechniques[blend]);
  DrawWholePicture(canvas);
}
