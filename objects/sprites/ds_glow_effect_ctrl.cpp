#include "objects/sprites/ds_glow_effect_ctrl.h"

#include "core/param/param_reads.h"
#include "objects/sprites/ds_glowing_obj.h"
#include "player/document/doc_res_manager.h"

DS_GlowEffectCtrl::~DS_GlowEffectCtrl() = default;

bool DS_GlowEffectCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_GlowEffectCtrl", kVersion);
  archive.io().WriteDword(glowColour.Value());
  archive.io().WriteUInt32(glowStrength.Value());
  return DS_FXParticleSystemCtrl::Save(archive);
}

bool DS_GlowEffectCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadDword(glowColour.RawValue());
  ReadChangedUInt32(archive, glowStrength);
  return DS_FXParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_GlowEffectCtrl::CreateRuntimeObject() {
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  return std::make_unique<DS_GlowingObj>(
      std::unique_ptr<DS_GlowEffectCtrl>(static_cast<DS_GlowEffectCtrl*>(clone.release())));
}

void DS_GlowEffectCtrl::PrepareEffect() {
  DS_FXParticleSystemCtrl::PrepareEffect();
  glowTexture = CurrentPictureTexture(secondPicture);
  spriteTexture = CurrentPictureTexture(picture);
}

void DS_GlowEffectCtrl::PreUpdate() {}
