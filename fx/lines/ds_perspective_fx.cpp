#include "fx/lines/ds_perspective_fx.h"

#include <algorithm>
#include <cmath>

#include "core/param/param_reads.h"

DS_PerspectiveFX::DS_PerspectiveFX() {
  speed.SetFactor(0.02f);
}

bool DS_PerspectiveFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PerspectiveFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(strengthA.Value());
  io.WriteUInt32(tilt.Value());
  io.WriteInt32(swingMode.Value());
  io.WriteUInt32(strengthB.Value());
  return DS_LineBased::Save(archive);
}

bool DS_PerspectiveFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, strengthA);
  ReadChangedUInt32(archive, tilt);
  if (version >= 2) {
    io.ReadInt32(swingMode.RawValue());
    if (version >= 3) ReadChangedUInt32(archive, strengthB);
  } else {
    int32_t side = 0;
    io.ReadInt32(side);
    strengthB.SetValue(strengthA.Value());
    swingMode.RawValue() = 3;
    if (side == 0) strengthB.SetValue(0);
    if (side == 1) strengthA.SetValue(0);
  }
  return DS_LineBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_PerspectiveFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_LineBased::Prepare(maskSlot);
  ComputeLinesPerspective();
  ResizeGridOverMask();
}

void DS_PerspectiveFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  ComputeLinesPerspective();
}

void DS_PerspectiveFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindLines(canvas);
  float a = strengthA.Scaled(), b = strengthB.Scaled(), w = 0.0f;
  const int m = swingMode.Value();
  if (m == 0) {
    w = 1.0f;
    b = 0.0f;
  } else if (m == 1) {
    w = -1.0f;
    a = 0.0f;
  } else {
    w = WaveValue(m);
  }
  const float top = std::max(a, b);
  if (top > 0.0f) {
    a /= top;
    b /= top;
  }
  const float v = TimelineValue() * ((a + b) * 0.5f * w + (a - b) * 0.5f);
  effect->SetFloat("amplitude", (std::fabs(std::cos(v)) - 1.0f) * top);
  effect->SetFloat("p_amplitude", std::sin(v) * tilt.Scaled() * top * 10.0f);
  BindCommonQuad(canvas);
}
