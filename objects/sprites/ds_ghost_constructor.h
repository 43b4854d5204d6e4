#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_fish_constructor.h"

// Ghosts: fish that fade with the object's timeline (their alpha factor is its value, and the
// opacity rule scales them by it again) and, after each hidden phase of the timeline, one of
// them reappears somewhere else.
//
// Record "DS_GhostConstructor" version 2: no field of its own, then the "DS_FishConstructor"
// record. A version-1 ghost played on a random timeline of 1.5-second fades and no hidden or
// shown time, which its reader installs.
class DS_GhostConstructor : public DS_FishConstructor {
 public:
  static constexpr uint32_t kVersion = 2;

  // Speeds 50 and 50, pulse rate 0.66, transparency 50 %, size factor 1, timeline flag bit 0,
  // tag 2, time mode 1.
  DS_GhostConstructor();
  DS_GhostConstructor(const DS_GhostConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // As a fish, with a random alpha factor.
  void SpawnParticle(SpriteRecord& sprite) override;
  // The fish's update; the first ghost updated after a hidden phase spawns again; the alpha
  // factor becomes the timeline's value.
  void UpdateParticle(SpriteRecord& sprite) override;

  // Set while the timeline is hidden; the next ghost updated after it clears it and reappears.
  uint8_t reappear = 0;
};
