#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_base_sprite_prop.h"

// Fish: sprites that swim across the view rectangle, face the way they swim (the sign of the
// half width) and turn back at its edges; about every other second of local time a fish may
// take a new speed, keeping its heading. Birds and ghosts are fish of their own.
//
// Record "DS_FishConstructor" version 1: horizontal speed, vertical speed (Float), then the
// "DS_BaseSpriteProp" record.
class DS_FishConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_FishConstructor() = default;
  DS_FishConstructor(const DS_FishConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the two speeds, then the base record.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A new export block after a frame in which a sprite turned, re-aimed or reappeared.
  bool SplitExportBlock(int& frames) override;
  // A velocity within the speeds, a random point of the view, half sizes and colour, facing
  // left when it swims left.
  void SpawnParticle(SpriteRecord& sprite) override;
  // Moves it, turns it at the sides once it is wholly out and at the top and bottom once its
  // edge is out, and re-aims it now and then.
  void UpdateParticle(SpriteRecord& sprite) override;

  // Pixels per second of motion time, at most, across and up or down.
  float horizontalSpeed = 80.0f;
  float verticalSpeed = 50.0f;

 protected:
  // A new speed in [-speed, speed].
  static float RandomSpeed(float speed);
};
