#include "fx/distortion/ds_quorbel_vortical.h"

#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

DS_QuorbelVortical::DS_QuorbelVortical() {
  speed.SetFactor(0.1f);
}

bool DS_QuorbelVortical::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_QuorbelVortical", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(ellipseDeformation.Value());
  io.WriteUInt32(ellipseTilt.Value());
  io.WriteInt32(reverseFlag.Value());
  io.WriteUInt32(amplitude.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_QuorbelVortical::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, ellipseDeformation);
  io.ReadUInt32(ellipseTilt.RawValue());
  io.ReadInt32(reverseFlag.RawValue());
  ReadChangedUInt32(archive, amplitude);
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_QuorbelVortical::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  BindCenter(canvas);
  const float tilt = static_cast<float>(ellipseTilt.Value());
  D3DXMATRIX turn, back;
  D3DXMatrixRotationZ(&turn, tilt * 3.1415927f / 180.0f);
  D3DXMatrixRotationZ(&back, tilt * -3.1415927f / 180.0f);
  effect->SetMatrix("r_matrix2", &turn);
  effect->SetMatrix("r_matrix3", &back);
  effect->SetFloat("ElipsDeform", ellipseDeformation.Scaled());
  effect->SetFloat("Amplitude",
                   reverseFlag.Value() == 1 ? -amplitude.Scaled() : amplitude.Scaled());
  effect->SetFloat("Shift", FractionalTurn());
  BindCommonQuad(canvas);
}
