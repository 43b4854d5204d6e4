#include "fx/layer/ds_erase_layer_fx.h"

DS_EraseLayerFX::DS_EraseLayerFX() {
  mode.SetValueSilently(2);
}

bool DS_EraseLayerFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_EraseLayerFX", kVersion);
  archive.io().WriteInt32(maskSense.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_EraseLayerFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadInt32(maskSense.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_EraseLayerFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const bool inside = maskSense.Value() == 0;
  const float mod[2] = {inside ? 1.0f : 0.0f, inside ? -1.0f : 1.0f};
  effect->SetFloatArray("mask_mod", mod, 2);
  BindCommon(canvas);
}
