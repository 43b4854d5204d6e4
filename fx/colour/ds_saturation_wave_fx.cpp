#include "fx/colour/ds_saturation_wave_fx.h"

#include <algorithm>
#include <cmath>

#include "core/param/param_reads.h"
#include "fx/bases/wave_band.h"
#include "renderers/light/ds_2d_light.h"

DS_SaturationWaveFX::DS_SaturationWaveFX() {
  speed.SetScale(0.01f, 0.0f);
  speed.SetValue(50);
}

bool DS_SaturationWaveFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SaturationWaveFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(sweepMode.Value());
  io.WriteUInt32(spareLevel.Value());
  io.WriteUInt32(saturationLevel.Value());
  io.WriteUInt32(waveDirection.Value());
  io.WriteUInt32(bandWidth.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_SaturationWaveFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ReadWaveBody(archive);
}

bool DS_SaturationWaveFX::ReadWaveBody(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(sweepMode.RawValue());
  ReadChangedUInt32(archive, spareLevel);
  ReadChangedUInt32(archive, saturationLevel);
  io.ReadUInt32(waveDirection.RawValue());
  waveDirection.Recompute();
  io.ReadUInt32(bandWidth.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_SaturationWaveFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  saturateFlag = 1;
  const D3DXVECTOR4& d = waveDirection.Direction();
  const D3DXVECTOR3 along(d.x, -d.y, d.z);
  for (size_t i = 0; i < maskQuad.corners.size(); ++i) {
    const D3DXVECTOR3& c = maskQuad.corners[i].Value();
    const float projection = c.x * along.x + c.y * along.y + c.z * along.z;
    projectionMin = i == 0 ? projection : std::min(projectionMin, projection);
    projectionMax = i == 0 ? projection : std::max(projectionMax, projection);
  }
  projectionMax += static_cast<float>(bandWidth.Value());
  const float startX = projectionMin * along.x, startY = projectionMin * along.y;
  const float endX = projectionMax * along.x, endY = projectionMax * along.y;

  float w = 0.0f;
  const float phase = Phase();
  switch (sweepMode.Value()) {
    case 0:
      w = 1.0f;
      break;
    case 1: {
      float whole = 0.0f;
      w = std::modf(phase, &whole);
      saturateFlag = std::fmod(whole, 2.0f) == 0.0f ? 1 : 0;
      break;
    }
    case 2: {
      float whole = 0.0f;
      w = 1.0f - 2.0f * std::fabs(std::modf(phase, &whole) - 0.5f);
      break;
    }
    default:
      w = phase;
      break;
  }
  const float a = TimelineValue() * w;
  wavePosition = D3DXVECTOR3(startX + (endX - startX) * a, startY + (endY - startY) * a, 0.0f);
  level = saturationLevel.Scaled();
}

void DS_SaturationWaveFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const D3DXVECTOR4& d = waveDirection.Direction();
  BindWaveBand(*effect.Get(), d.x, -d.y, wavePosition.x, wavePosition.y, bandWidth.Value());
  effect->SetFloat("SatMax", saturateFlag != 0 ? level : 0.0f);
  effect->SetFloat("SatMin", saturateFlag != 0 ? 0.0f : level);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  BindCommonQuad(canvas);
}
