#include "fx/distortion/ds_quorbel_radial.h"

#include "core/param/param_reads.h"

DS_QuorbelRadial::DS_QuorbelRadial() {
  speed.SetFactor(0.1f);
}

bool DS_QuorbelRadial::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_QuorbelRadial", kVersion);
  archive.io().WriteUInt32(amplitude.Value());
  archive.io().WriteInt32(directionFlag.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_QuorbelRadial::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, amplitude);
  if (version >= 2) {
    archive.io().ReadInt32(directionFlag.RawValue());
  } else {
    directionFlag.RawValue() = 0;
  }
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_QuorbelRadial::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindCenter(canvas);
  const float a = amplitude.Scaled();
  const float outInOrder[2] = {directionFlag.Value() != 0 ? a : 0.0f,
                               directionFlag.Value() != 0 ? 0.0f : a};
  effect->SetFloatArray("Amplitude", outInOrder, 2);
  effect->SetFloat("Shift", FractionalTurn());
  BindCommonQuad(canvas);
}
