#pragma once

#include <memory>

#include "core/scene/ds_abobj.h"
#include "objects/sprites/ds_glow_effect_ctrl.h"
#include "objects/sprites/particle_geom_array.h"
#include "player/document/guid_picture_key.h"
#include "player/render/render_target_set.h"

// The run-time object of the glow presets: the sprites drawn with the glow texture into a
// target of their own (keeping the brightest), that target laid over the picture below in the
// glow colour and strength, then the sprites drawn on top with the sprite texture. It reads the
// picture below, so the renderer gives it the picture drawn so far.
class DS_GlowingObj : public DS_ABObj, public ParticleGeomArray {
 public:
  // Takes the clone, makes the sprites, prepares the preset's effect and takes the document's
  // 512 x 512 glow target under a fresh GUID.
  explicit DS_GlowingObj(std::unique_ptr<DS_GlowEffectCtrl> preset);
  ~DS_GlowingObj() override;

  // Glow target, composition and sprites; nothing without an effect, a glow target or sprites.
  void Draw(DS_2D_Light& renderer) override;
  // 1 while active and able to draw (it has an effect, a glow target and sprites), else 0: an
  // object that switched the target and drew nothing would leave the picture below blank.
  int NeedsPictureBelow() const override;
  // The preset's PreUpdate, the clocks and sprites, the vertices.
  void Update(float localTime) override;

  DS_GlowEffectCtrl& GlowPreset() const { return *preset_; }
  const GuidNameKey& GlowKey() const { return glowKey_; }
  RenderTargetSet* GlowTarget() const { return glowTarget_; }

 private:
  bool CanDraw() const;

  DS_GlowEffectCtrl* preset_;
  RenderTargetSet* glowTarget_ = nullptr;  // the document's
  GuidNameKey glowKey_;
};
