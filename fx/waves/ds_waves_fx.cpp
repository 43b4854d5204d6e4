#include "fx/waves/ds_waves_fx.h"

#include "core/param/param_reads.h"
#include "fx/bases/ds_direction_based.h"

DS_WavesFX::DS_WavesFX() {
  speed.SetValue(25);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 77);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  callbacks_.Watch(&DS_WavesFX::UpdateDirection, directionAngle);
  callbacks_.Watch(&DS_WavesFX::UpdateDirection, parallelFlag);
  UpdateDirection();
}

DS_WavesFX::DS_WavesFX(const DS_WavesFX& other)
    : DS_FX_Constructor(other),
      amplitude(other.amplitude),
      wavelength(other.wavelength),
      directionAngle(other.directionAngle),
      parallelFlag(other.parallelFlag),
      direction(other.direction),
      waveNormal(other.waveNormal) {
  callbacks_.Watch(&DS_WavesFX::UpdateDirection, directionAngle);
  callbacks_.Watch(&DS_WavesFX::UpdateDirection, parallelFlag);
  UpdateDirection();
}

bool DS_WavesFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WavesFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(amplitude.Value());
  io.WriteUInt32(wavelength.Value());
  io.WriteUInt32(directionAngle.Value());
  io.WriteInt32(parallelFlag.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_WavesFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, amplitude);
  ReadChangedUInt32(archive, wavelength);
  archive.io().ReadUInt32(directionAngle.RawValue());
  archive.io().ReadInt32(parallelFlag.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_WavesFX::UpdateDirection() {
  const unsigned a = directionAngle.Value();
  direction = TurnedOnScreen(a, D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f));
  waveNormal = TurnedOnScreen(a, parallelFlag.Value() != 0 ? D3DXVECTOR4(-1.0f, 0.0f, 0.0f, 0.0f)
                                                           : D3DXVECTOR4(0.0f, 1.0f, 0.0f, 0.0f));
}

void DS_WavesFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const float along[2] = {-direction.x, -direction.y};
  const float normal[2] = {waveNormal.x, waveNormal.y};
  effect->SetFloatArray("direction", along, 2);
  effect->SetFloatArray("direction_n", normal, 2);
  effect->SetFloat("frequency", 1.0f / wavelength.Scaled());
  effect->SetFloat("amplitude", amplitude.Scaled() * TimelineValue());
  effect->SetFloat("time", Phase() * 0.08f);
  BindCommon(canvas);
}
