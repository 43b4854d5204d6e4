#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_particle_rct_rgn_generator.h"
#include "objects/sprites/generators/per_second_counter.h"

// Stars that appear at random places of the region, fall in one direction while spinning, fade
// in, stay and fade out, leaving a trail of small particles (the base's emission along the
// sources, switched by the emission switch). Stars are the sources, trail particles the
// particles. Four layers: star pictures (0), trail pictures (1), star glows (2), trail glows
// (3); layers 0 and 1 go into one mask, 3 and 2 into the other, and "Main" composes both with the
// picture drawn so far.
//
// Record "DS_FallingStars" version 1: fall speed, star rate, fall direction, star size, glow
// size, shown, fade-in and fade-out time (UInt32, stored), the region (twelve Float), then the
// "DS_TexParticleGenerator" record.
class DS_FallingStars : public DS_ParticleRctRgnGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  // Trail lifetime x 0.01 s, trail rate x 2 per second and star, trail size x 0.01 of a star.
  DS_FallingStars();
  DS_FallingStars(const DS_FallingStars& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Layers 0 and 1 into the first mask, 3 and 2 into the second, then composed.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The base clock and processes, then EmitStars and FillLayers.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The region's attach, the mask, no sources, four layers.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // 1 while the composition can be drawn (it reads the picture below).
  int NeedsTarget() const override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // The trail along the stars, then the stars due at local time t (at most
  // kMaxParticlesPerList stars in all).
  void EmitStars(float t);
  // One star quad per star in layers 0 and 2, one trail quad per particle in 1 and 3, their
  // alpha times the timeline value.
  void FillLayers(DS_ParticlesObj& obj);

  UINTSclaleTo<float> fallSpeed{0, 8.0f, 0.0f};  // pixels per second
  PerSecondCounterRnd starRate;                  // x 0.02 stars per second
  MediaDirection fallDirection;                  // degrees; 0 right, 90 up, 270 down
  MediaParamT<unsigned> starSize{0};             // pixels
  UINTSclaleTo<float> glowSize{0, 0.04f, 1.0f};  // factor on the star size
  TimeParam shownTime;
  TimeParam fadeInTime;
  TimeParam fadeOutTime;
};
