#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "objects/sprites/ds_base_sprite_prop.h"

// God rays: full-height rays of light leaning by the ray angle, drifting sideways at a speed
// that changes now and then, and pulsing.
//
// Record "DS_GodRayConstructor" version 1: the ray angle (UInt32), then the
// "DS_BaseSpriteProp" record.
class DS_GodRayConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_GodRayConstructor() = default;
  DS_GodRayConstructor(const DS_GodRayConstructor& other) = default;
  ~DS_GodRayConstructor() override;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A random x in the view at mid-height of the view, a sideways velocity of up to 10 pixels a
  // second, the size wide and the scene high, leaning by the ray angle, a random alpha factor.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Every 0.25 s of motion time a new velocity on an odd draw; drift; pulse (re-spawning).
  void UpdateParticle(SpriteRecord& sprite) override;

  // Degrees; 90 is upright.
  MediaParamT<unsigned> rayAngle{80};
};
