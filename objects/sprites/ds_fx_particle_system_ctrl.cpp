#include "objects/sprites/ds_fx_particle_system_ctrl.h"

#include "player/document/doc_res_manager.h"

DS_FXParticleSystemCtrl::~DS_FXParticleSystemCtrl() = default;

bool DS_FXParticleSystemCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FXParticleSystemCtrl", kVersion);
  WriteFileLink(archive, effectLink);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_FXParticleSystemCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadEffectLink(archive, effectLink);
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_FXParticleSystemCtrl::PrepareEffect() {
  DS_DocResManager* document = CurrentDocument();
  effect = document != nullptr ? document->GetEffect(effectLink) : ComRef<gfx::Effect>();
}
