#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_base_sprite_prop.h"

// Fog: patches that drift, turn slowly (a small fixed turn each frame), pulse in opacity and
// bounce back into the view rectangle once their centre leaves it.
//
// Record "DS_FogConstructor" version 1: horizontal speed, vertical speed (Float), then the
// "DS_BaseSpriteProp" record.
class DS_FogConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // Pulse between 0.2 and 1, transparency 50 %, timeline flag bit 0, tag 2, time mode 1.
  DS_FogConstructor();
  DS_FogConstructor(const DS_FogConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A random point of the view, a velocity within the speeds, a random alpha factor and a turn
  // of up to 0.004 radians either way.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Drift, pulse (held at its bounds), bounce on the centre, turn both axes once.
  void UpdateParticle(SpriteRecord& sprite) override;

  float horizontalSpeed = 40.0f;
  float verticalSpeed = 40.0f;
};
