#include "fx/light/ds_light_fx.h"

#include <cmath>

#include "core/noise/value_noise.h"
#include "core/param/param_reads.h"

float SmoothPulse(float phase) {
  return (std::sin(phase * 0.2f) + 1.0f) * 0.5f;
}

float OnOffPulse(float phase) {
  return SmoothPulse(phase) > 0.5f ? 1.0f : 0.0f;
}

float NoisePulse(float phase) {
  const double noise = OctaveValueNoise1D(2, static_cast<double>(phase) * 10.0, 75.0, 0.5);
  return static_cast<float>((noise + 1.0) * 0.5);
}

DS_LightFX::DS_LightFX() {
  speed.SetValue(40);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 76);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 1;
}

bool DS_LightFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightFX", kVersion);
  archive.io().WriteUInt32(strength.Value());
  archive.io().WriteInt32(pulseMode.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_LightFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, strength);
  archive.io().ReadInt32(pulseMode.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_LightFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const int m = pulseMode.Value();
  const float phase = Phase();
  const float b = m >= 2 ? NoisePulse(phase) : m == 1 ? OnOffPulse(phase) : SmoothPulse(phase);
  effect->SetFloat("multiplier", strength.Scaled() * b * TimelineValue());
  BindCommon(canvas);
}
