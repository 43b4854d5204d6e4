#include "fx/light/ds_light_wave_fx.h"

#include <cmath>

#include "fx/bases/wave_band.h"
#include "platform/math/d3dx_math.h"

namespace {

void WritePoint(DS_IOF_Virtual& io, const D3DXVECTOR3& p) {
  io.WriteFloat(p.x);
  io.WriteFloat(p.y);
  io.WriteFloat(p.z);
}

void ReadPoint(DS_IOF_Virtual& io, D3DXVECTOR3& p) {
  io.ReadFloat(p.x);
  io.ReadFloat(p.y);
  io.ReadFloat(p.z);
}

}  // namespace

DS_LightWaveFX::DS_LightWaveFX() {
  speed.SetFactor(0.02f);
}

bool DS_LightWaveFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightWaveFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WritePoint(io, startPoint.Value());
  WritePoint(io, endPoint.Value());
  io.WriteUInt32(bandWidth.Value());
  io.WriteInt32(oneWay.Value());
  return DS_LightFX_II::Save(archive);
}

bool DS_LightWaveFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadPoint(io, startPoint.RawValue());
  ReadPoint(io, endPoint.RawValue());
  io.ReadUInt32(bandWidth.RawValue());
  if (version > 1) io.ReadInt32(oneWay.RawValue());
  return DS_LightFX_II::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_LightWaveFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const int p = pulseMode.Value();
  float w = TimelineValue();
  if (p != 0) {
    w = WaveValue(p + 1);
    if (oneWay.Value() != 0 && p < 3 && std::cos(angle.Scaled() + Phase()) < 0.0f) w = -w;
    w = (w + 1.0f) * 0.5f;
  }
  const D3DXVECTOR3& start = startPoint.Value();
  const D3DXVECTOR3& end = endPoint.Value();
  wavePosition = start + (end - start) * w;
  const D3DXVECTOR3 back = start - end;
  D3DXVec3Normalize(&waveDirection, &back);
}

void DS_LightWaveFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindWaveBand(*effect.Get(), waveDirection.x, waveDirection.y, wavePosition.x, wavePosition.y,
               bandWidth.Value());
  const float a = strength.Scaled() * (pulseMode.Value() != 0 ? TimelineValue() : 1.0f);
  BindLight(canvas, a);
  effect->SetTechnique("Blend_Normal");
  DrawWholePicture(canvas);
}
