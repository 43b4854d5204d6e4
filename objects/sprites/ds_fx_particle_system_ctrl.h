#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "platform/gfx/effect/effect.h"

// A sprite preset drawn through a compiled effect of its own instead of the renderer's sprite
// layer: the effect link and the effect it loads. Its kinds (glow presets, the static FX
// presets) make the run-time object that draws with it.
//
// Record "DS_FXParticleSystemCtrl" version 1: the effect link (name, Int64 id), then the
// "DS_BaseSpriteProp" record.
class DS_FXParticleSystemCtrl : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_FXParticleSystemCtrl() = default;
  DS_FXParticleSystemCtrl(const DS_FXParticleSystemCtrl& other) = default;
  ~DS_FXParticleSystemCtrl() override;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The current document's effect for the link replaces the one held (none when it cannot be
  // had).
  virtual void PrepareEffect();

  DS_HLSLEffectFile effectLink;
  ComRef<gfx::Effect> effect;
};
