#include "fx/distortion/ds_rotation_fx.h"

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "platform/math/d3dx_math.h"

DS_RotationFX::DS_RotationFX() {
  speed.SetFactor(0.005f);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  timing.timeMode.SetValueSilently(2);
}

bool DS_RotationFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RotationFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(ellipseRatio.Value());
  io.WriteUInt32(ellipseTilt.Value());
  io.WriteInt32(reverseFlag.Value());
  io.WriteInt32(timelineDriven.Value());
  io.WriteUInt32(angleOffset.Value());
  return DS_CentralBased::Save(archive);
}

bool DS_RotationFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, ellipseRatio);
  io.ReadUInt32(ellipseTilt.RawValue());
  io.ReadInt32(reverseFlag.RawValue());
  if (version >= 2) {
    io.ReadInt32(timelineDriven.RawValue());
    ReadChangedUInt32(archive, angleOffset);
  }
  return DS_CentralBased::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_RotationFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float sign = reverseFlag.Value() != 0 ? -1.0f : 1.0f;
  turn = timelineDriven.Value() == 0 ? (Phase() + angleOffset.Scaled()) * sign
                                     : TimelineValue() * sign * angleOffset.Scaled();
}

void DS_RotationFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const float ratio = ellipseRatio.Scaled() != 0.0f ? ellipseRatio.Scaled() : 1.0f;
  D3DXMATRIX r, tilt, untilt, m;
  D3DXMatrixRotationZ(&r, turn);
  r._12 *= ratio;
  r._21 /= ratio;
  const float tiltRadians = static_cast<float>(ellipseTilt.Value()) * 3.1415927f / 180.0f;
  D3DXMatrixRotationZ(&tilt, tiltRadians);
  D3DXMatrixRotationZ(&untilt, static_cast<float>(ellipseTilt.Value()) * -3.1415927f / 180.0f);
  D3DXMatrixMultiply(&m, &untilt, &r);
  D3DXMatrixMultiply(&m, &m, &tilt);
  const float transform[4] = {m._11, m._12, m._21, m._22};
  effect->SetFloatArray("coord_transf", transform, 4);

  const D3DXVECTOR3 c = AimedCentre();
  float w = 0.0f, h = 0.0f;
  CurrentTargetSize(w, h);
  const float offset[2] = {-RatioOr0(c.x, w), -RatioOr0(c.y, h)};
  effect->SetFloatArray("offset", offset, 2);
  const float mix[4] = {1.0f, 1.0f, 1.0f, timing.timeMode.Value() == 1 ? TimelineValue() : 1.0f};
  effect->SetFloatArray("mix_color", mix, 4);
  BindCommon(canvas);
}
