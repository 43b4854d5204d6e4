#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_fish_constructor.h"

// Birds: fish that keep a brisk pace; a slow bird is sped up (and a slow climber turned
// downwards) in the frame it slows.
//
// Record "DS_BirdConstructor" version 1: no field of its own, then the "DS_FishConstructor"
// record.
class DS_BirdConstructor : public DS_FishConstructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_BirdConstructor() = default;
  DS_BirdConstructor(const DS_BirdConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // The fish's update; then a vertical speed below 0.7 of the most becomes speed x 0.3 / 0.7 +
  // 0.7 of the most, and a horizontal one below 0.7 of the most a new one of at least that, in
  // the same direction.
  void UpdateParticle(SpriteRecord& sprite) override;
};
