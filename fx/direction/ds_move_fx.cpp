#include "fx/direction/ds_move_fx.h"

#include "core/param/param_reads.h"

DS_MoveFX::DS_MoveFX() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
  baseStrength.SetFactor(0.0002f);
  baseStrength.SetValue(50);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 91);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
}

bool DS_MoveFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_MoveFX", kVersion);
  archive.io().WriteInt32(moveMode.Value());
  archive.io().WriteUInt32(secondStrength.Value());
  return DS_DirectionBased::Save(archive);
}

bool DS_MoveFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadInt32(moveMode.RawValue());
  if (version >= 2) ReadChangedUInt32(archive, secondStrength);
  const bool read = DS_DirectionBased::ReadBody(archive, ReadBaseHeader(archive));
  if (version == 1) {
    secondStrength.SetScale(baseStrength.Factor(), baseStrength.Offset());
    secondStrength.SetValue(baseStrength.Value());
  }
  // Wrapping like the stored word would: a mode near the top of the range is no overflow.
  if (version <= 2)
    moveMode.RawValue() = static_cast<int32_t>(static_cast<uint32_t>(moveMode.Value()) + 3u);
  return read;
}

void DS_MoveFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const int m = moveMode.Value();
  const float base = baseStrength.Scaled();
  float c = base;
  if (m == 1) {
    c = -base;
  } else if (m >= 2) {
    c = SwingBetween(m, base, secondStrength.Scaled());
  }
  shift[0] = -direction.x * c * TimelineValue();
  shift[1] = -direction.y * c * TimelineValue();
}

void DS_MoveFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  effect->SetFloatArray("Direction", shift, 2);
  BindCommon(canvas);
}
