#include "fx/lines/ds_stretch_fx.h"

#include "core/param/param_reads.h"

DS_StretchFX::DS_StretchFX() {
  speed.SetFactor(0.05f);
}

bool DS_StretchFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StretchFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(swingMode.Value());
  io.WriteUInt32(strengthA.Value());
  io.WriteUInt32(strengthB.Value());
  return DS_LineBased::Save(archive);
}

bool DS_StretchFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadInt32(swingMode.RawValue());
  ReadChangedUInt32(archive, strengthA);
  ReadChangedUInt32(archive, strengthB);
  return DS_LineBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_StretchFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_LineBased::Prepare(maskSlot);
  ResizeGridOverMask();
}

void DS_StretchFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float a = strengthA.Scaled(), b = strengthB.Scaled();
  const int m = swingMode.Value();
  const float v = m == 0 ? -b : m == 1 ? a : SwingBetween(m, a, b);
  amount = v * TimelineValue();
  ComputeLines();
}

void DS_StretchFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindLines(canvas);
  effect->SetFloat("amplitude", amount);
  BindCommonQuad(canvas);
}
