#include "fx/distortion/ds_expand_fx.h"

#include <cmath>

#include "core/param/param_reads.h"

DS_ExpandFX::DS_ExpandFX() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 102);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
}

bool DS_ExpandFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ExpandFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(expansion.Value());
  io.WriteUInt32(contraction.Value());
  io.WriteInt32(swingMode.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_ExpandFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, expansion);
  ReadChangedUInt32(archive, contraction);
  archive.io().ReadInt32(swingMode.RawValue());
  if (version == 1) swingMode.RawValue() = static_cast<int32_t>(swingMode.Value() + 2u);
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ExpandFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float e = expansion.Scaled(), c = contraction.Scaled();
  const int m = swingMode.Value();
  const float v = m == 0 ? e : m == 1 ? -c : SwingBetween(m, e, c);
  amount = v * TimelineValue();
}

void DS_ExpandFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindCenter(canvas);
  const float amplitude[2] = {amount > 0.0f ? amount : 0.0f,
                              amount > 0.0f ? 0.0f : std::fabs(amount)};
  effect->SetFloatArray("amplitude", amplitude, 2);
  BindCommon(canvas);
}
