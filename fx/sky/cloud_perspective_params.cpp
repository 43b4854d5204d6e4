#include "fx/sky/cloud_perspective_params.h"

#include "core/math/ratio.h"
#include "core/param/param_reads.h"

void CloudPerspectiveParams::Write(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(depthB.Value());
  io.WriteUInt32(heightC.Value());
  io.WriteUInt32(shiftX.Value());
  io.WriteInt32(flipFlag.Value());
  io.WriteUInt32(valueD.Value());
  io.WriteUInt32(valueE.Value());
}

void CloudPerspectiveParams::Read(DS_IOF_Archive& archive) {
  ReadChangedUInt32(archive, depthB);
  ReadChangedUInt32(archive, heightC);
  ReadChangedUInt32(archive, shiftX);
  archive.io().ReadInt32(flipFlag.RawValue());
  ReadChangedUInt32(archive, valueD);
  ReadChangedUInt32(archive, valueE);
}

void CloudPerspectiveParams::Bind(gfx::Effect& effect) const {
  const float b = depthB.Scaled(), c = heightC.Scaled(), x = shiftX.Scaled();
  effect.SetFloat("PX_Transform", RatioOr0(b - 1.0f, b));
  effect.SetFloat("PY_TransformH", RatioOr0(c, b) + 1.0f);
  effect.SetFloat("PY_TransformZ", c);
  const bool flipped = flipFlag.Value() != 0;
  const float texShift[4] = {1.0f, flipped ? -1.0f : 1.0f, -x, flipped ? 1.0f : 0.0f};
  effect.SetFloatArray("tex_shift", texShift, 4);
}
