#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/param/color_params.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/ds_fx_particle_system_ctrl.h"
#include "platform/gfx/texture.h"

// A sprite preset whose sprites glow over the picture below them (run-time object
// DS_GlowingObj): drawn with the second picture into a target of their own, that target laid
// over the picture below in the glow colour and strength, then the sprites drawn on top.
//
// Record "DS_GlowEffectCtrl" version 1: glow colour (Dword), glow strength percent (UInt32),
// then the "DS_FXParticleSystemCtrl" record.
class DS_GlowEffectCtrl : public DS_FXParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_GlowEffectCtrl() = default;
  DS_GlowEffectCtrl(const DS_GlowEffectCtrl& other) = default;
  ~DS_GlowEffectCtrl() override;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A DS_GlowingObj on a clone.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  // The effect, then the glow texture (the second picture's current frame) and the sprite
  // texture (the picture's).
  void PrepareEffect() override;
  // Called by the run-time object before each update, ahead of the clocks; nothing here.
  virtual void PreUpdate();

  SmartCOLORREF glowColour{0};
  // Percent, scaled to the glow's alpha at full opacity.
  UINTSclaleTo<float> glowStrength{100, 0.01f, 0.0f};
  ComRef<gfx::Texture> glowTexture;
  ComRef<gfx::Texture> spriteTexture;
};
