#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "objects/sprites/ds_base_sprite_prop.h"

// Flashing lights: each flares up at a random place wholly inside the view rectangle, turned a
// little and perhaps mirrored, flickers while new flashes follow within 0.15 s, goes dark within
// 1/6 s of motion time without one, and stays dark for a random pause before it flares again
// elsewhere. Drawn additively; the timeline plays no part in their opacity.
//
// Record "DS_LightingConstructor" version 2: pause minimum, pause maximum (UInt32 each,
// hundredths of a second; version 1 has neither), then the "DS_BaseSpriteProp" record. Every
// lighting description read plays on a random timeline.
class DS_LightingConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  // Blend mode 1 (additive), the view flag set.
  DS_LightingConstructor();
  DS_LightingConstructor(const DS_LightingConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  // The pauses (from version 2) and the base record; then timeline flag bit 0 cleared and the
  // timeline kind set to random (notified, so that the random timeline becomes current).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // Placed and dark (alpha factor 0).
  void SpawnParticle(SpriteRecord& sprite) override;
  // Dark: after the pause, flares at a new place. Lit: dims by 6 per motion second, and flares
  // again on an odd draw every 0.15 s. Falling below 0 starts a pause of a random length.
  void UpdateParticle(SpriteRecord& sprite) override;
  // The colour as it is: a light's opacity is its flash level and the alpha byte.
  uint32_t ApplyOpacity(uint32_t colour) override;

  // Hundredths of a second; a maximum not above the minimum pauses the minimum.
  MediaParamT<unsigned> pauseMin{100};
  MediaParamT<unsigned> pauseMax{500};

 private:
  // Half sizes, a place wholly inside the view, a turn within 22.5 degrees either way, and a
  // mirror on an odd draw.
  void Place(SpriteRecord& sprite) const;
};
