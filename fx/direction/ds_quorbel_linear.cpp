#include "fx/direction/ds_quorbel_linear.h"

DS_QuorbelLinear::DS_QuorbelLinear() {
  speed.SetFactor(0.1f);
  baseStrength.SetFactor(0.002f);
}

bool DS_QuorbelLinear::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_QuorbelLinear", kVersion);
  return DS_DirectionBased::Save(archive);
}

bool DS_QuorbelLinear::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return DS_DirectionBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_QuorbelLinear::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindScale(canvas);
  const float s = baseStrength.Scaled();
  const float along[2] = {direction.x * s, direction.y * s};
  effect->SetFloatArray("Direction", along, 2);
  effect->SetFloat("Shift", FractionalTurn());
  BindCommonQuad(canvas);
}
