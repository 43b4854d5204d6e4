#include "renderers/brush/ds_underwater_fx.h"

#include "core/param/param_reads.h"
#include "renderers/light/ds_2d_light.h"

DS_UnderwaterFX::DS_UnderwaterFX() {
  speed.SetValue(25);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 88);
}

bool DS_UnderwaterFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_UnderwaterFX", kVersion);
  archive.io().WriteUInt32(amplitude.Value());
  archive.io().WriteUInt32(waveSize.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_UnderwaterFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, amplitude);
  ReadChangedUInt32(archive, waveSize);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_UnderwaterFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const float w = static_cast<float>(canvas.GetPictureWidth());
  const float h = static_cast<float>(canvas.GetPictureHeight());
  const float f = 1.0f / waveSize.Scaled();
  const float frequency[2] = {h != 0.0f ? f * w / h : f, f};
  effect->SetFloatArray("frequency", frequency, 2);
  effect->SetFloat("amplitude", amplitude.Scaled());
  effect->SetFloat("time", Phase() * 0.08f);
  BindCommon(canvas);
}
