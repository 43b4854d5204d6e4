#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_base_sprite_prop.h"

// Sparkles: sprites that drift slowly in the view rectangle and pulse, growing as they
// brighten, and reappear elsewhere when they fade below the pulse minimum.
//
// Record "DS_SparkleConstructor" version 1: no field of its own, then the "DS_BaseSpriteProp"
// record.
class DS_SparkleConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // The preset defaults, the view flag set, timeline flag bit 0 set, tag 1.
  DS_SparkleConstructor();
  DS_SparkleConstructor(const DS_SparkleConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A velocity of up to 25 pixels a second each way, a random point of the view, a random
  // alpha factor.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Drift, pulse (re-spawning below the minimum), then half sizes from e = size x factor / 4:
  // half width e x alpha + e, half height half width x alpha / 2 + e.
  void UpdateParticle(SpriteRecord& sprite) override;
};
