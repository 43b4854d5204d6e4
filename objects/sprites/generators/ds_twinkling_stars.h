#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_speed_param.h"
#include "objects/sprites/generators/ds_air_brush.h"

// Stars painted as dabs that twinkle: each keeps its scale for 0.2 to 2.5 s two times in three
// and otherwise flashes up to 1.5 times its scale for 0.2 s.
//
// Record "DS_TwinklingStars" version 1: twinkle speed (UInt32), then the "DS_AirBrush" record;
// every version holds the twinkle speed.
class DS_TwinklingStars : public DS_AirBrush {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_TwinklingStars();
  DS_TwinklingStars(const DS_TwinklingStars& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The twinkle clock, every star's twinkle with its step, then the quads.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The base attach, one layer, the mask, and one twinkle for every star.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;
  // A star at `position` of scale a and a random opacity from 0.5 to 1, twinkling.
  void AddParticle(const D3DXVECTOR3& position, float a, float b, float c, float d) override;

  // A twinkle of the star's scale around its present value.
  static void AttachTwinkle(GeneratorParticle& star);

  MediaSpeedParam twinkleSpeed;  // 1 + stored x 0.01
};
