#include "fx/distortion/ds_bend_fx.h"

#include "core/param/param_reads.h"

DS_BendFX::DS_BendFX() {
  speed.SetFactor(0.02f);
}

bool DS_BendFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BendFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(bendAngleA.Value());
  io.WriteUInt32(bendAngleB.Value());
  io.WriteUInt32(bendStrength.Value());
  io.WriteInt32(swingMode.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_BendFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, bendAngleA);
  ReadChangedUInt32(archive, bendAngleB);
  ReadChangedUInt32(archive, bendStrength);
  archive.io().ReadInt32(swingMode.RawValue());
  if (version == 1) swingMode.RawValue() = static_cast<int32_t>(swingMode.Value() + 3u);
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_BendFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float a = bendAngleA.Scaled(), b = bendAngleB.Scaled();
  const int m = swingMode.Value();
  turn = m == 0 ? -a : m == 1 ? a : SwingBetween(m, a, b);
}

void DS_BendFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindCenter(canvas);
  effect->SetFloat("Angle", turn * TimelineValue());
  effect->SetFloat("Bend", bendStrength.Scaled());
  BindCommonQuad(canvas);
}
