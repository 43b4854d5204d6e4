#include "fx/colour/ds_saturation_fx.h"

#include "core/scene/scene_services.h"

DS_SaturationFX::DS_SaturationFX() {
  bandWidth.SetValue(0);
  speed.SetFactor(0.1f);
}

bool DS_SaturationFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SaturationFX", kVersion);
  return DS_SaturationWaveFX::Save(archive);
}

bool DS_SaturationFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  (void)ReadBaseHeader(archive);
  return ReadWaveBody(archive);
}

void DS_SaturationFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const int m = sweepMode.Value();
  const float w = m == 0 ? 1.0f : (WaveValue(m + 1) - 1.0f) * -0.5f;
  level = saturationLevel.Scaled() * w * TimelineValue();
  float width = 0.0f, height = 0.0f;
  CurrentTargetSize(width, height);
  wavePosition = D3DXVECTOR3(width, 0.0f, 0.0f);
}
