#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_base_sprite_prop.h"

// Grass: blades standing on the bottom edge of the view rectangle, some mirrored, each swaying
// about its foot by up to the sway amplitude, in a wave that runs across the scene. The swarm
// fades with the timeline in time mode 1.
//
// Record "DS_GrassConstructor" version 1: sway amplitude (Float, degrees), then the
// "DS_BaseSpriteProp" record.
class DS_GrassConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // Timeline flag bit 0, tag 6, time mode 2.
  DS_GrassConstructor();
  DS_GrassConstructor(const DS_GrassConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A foot at a random x of the view on its bottom edge, a random phase (kept in velocity y;
  // the foot's x in velocity z), mirrored on an odd draw.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Leans the blade by the sway of its phase and place, keeping its foot where it is.
  void UpdateParticle(SpriteRecord& sprite) override;
  uint32_t ApplyOpacity(uint32_t colour) override;

  // Degrees.
  float swayAmplitude = 3.0f;
};
