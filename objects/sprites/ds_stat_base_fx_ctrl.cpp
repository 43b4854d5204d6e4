#include "objects/sprites/ds_stat_base_fx_ctrl.h"

#include "objects/sprites/ds_fx_obj.h"

bool DS_BaseFXCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BaseFXCtrl", kVersion);
  return DS_FXParticleSystemCtrl::Save(archive);
}

bool DS_BaseFXCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  return DS_FXParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

DS_StatBaseFXCtrl::DS_StatBaseFXCtrl()
    : position(D3DXVECTOR3(static_cast<float>(SceneWidth()) * 0.5f,
                           static_cast<float>(SceneHeight()) * 0.5f, 0.0f)) {}

bool DS_StatBaseFXCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StatBaseFXCtrl", kVersion);
  DS_IOF_Virtual& io = archive.io();
  const D3DXVECTOR3& p = position.Value();
  io.WriteFloat(p.x);
  io.WriteFloat(p.y);
  io.WriteFloat(p.z);
  io.WriteUInt32(height.Value());
  io.WriteUInt32(width.Value());
  return DS_BaseFXCtrl::Save(archive);
}

bool DS_StatBaseFXCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  D3DXVECTOR3& p = position.RawValue();
  io.ReadFloat(p.x);
  io.ReadFloat(p.y);
  io.ReadFloat(p.z);
  if (version > 1) {
    io.ReadUInt32(height.RawValue());
    io.ReadUInt32(width.RawValue());
  }
  return DS_BaseFXCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_StatBaseFXCtrl::CreateRuntimeObject() {
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  return std::make_unique<DS_FXObj>(
      std::unique_ptr<DS_StatBaseFXCtrl>(static_cast<DS_StatBaseFXCtrl*>(clone.release())));
}

void DS_StatBaseFXCtrl::PrepareEffect() {
  DS_FXParticleSystemCtrl::PrepareEffect();
  if (keepGuid != 0) return;
  const D3DXVECTOR3 p = position.Value();
  position.SetValueSilently(D3DXVECTOR3(static_cast<float>(SceneWidth()) * 0.5f,
                                        static_cast<float>(SceneHeight()) * 0.5f, p.z));
  keepGuid = 1;
}
