#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_stat_obj_constructor.h"

// A flower: a still object that sways about its foot within its own turned frame, on the speed
// clock, all flowers of a description in step. It fades with the timeline in time mode 1.
//
// Record "DS_FlowerConstructor" version 1: sway amplitude (Float, degrees), then the
// "DS_StatObjConstructor" record.
class DS_FlowerConstructor : public DS_StatObjConstructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Timeline flag bit 0, tag 6, time mode 2.
  DS_FlowerConstructor();
  DS_FlowerConstructor(const DS_FlowerConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // Leans the stem by the sine of the speed clock's local time, keeping its foot in place.
  void UpdateParticle(SpriteRecord& sprite) override;
  uint32_t ApplyOpacity(uint32_t colour) override;

  // Degrees.
  float swayAmplitude = 1.5f;
};
