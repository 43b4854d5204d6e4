#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_air_brush.h"

// Sparkles painted as dabs: each grows from nothing to full size over the rise time, shrinks
// back over the fall time and starts again, turning with the spin clock; drawn as two layers
// (colour 2 with the first picture, colour 1 with the second) joined in the mask.
//
// Record "DS_Bling" version 2: twinkle speed, fall time, rise time, spin speed, minimum size
// (UInt32 each), then the "DS_AirBrush" record. Version 1 holds the first three.
class DS_Bling : public DS_AirBrush {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_Bling();
  DS_Bling(const DS_Bling& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Both layers joined in the mask, then the blend mode's composition.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The twinkle and spin clocks; every sparkle's processes with the twinkle step (a sparkle
  // whose life ended starts again from nothing); then both layers written. When either layer
  // cannot be locked nothing is written this frame and both keep what they held.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The base attach, two layers, the mask, and every sparkle set up afresh with a random
  // phase.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;
  // A sparkle at `position` with size factor a and start angle c turns, at a random phase.
  void AddParticle(const D3DXVECTOR3& position, float a, float b, float c, float d) override;

  // Gives the sparkle its life from nothing: life and scale 0, then a life over rise + fall
  // seconds, growth to full scale over the rise and shrinking back over the fall. Answers rise
  // + fall. Times of 0 give rates of 0 instead of a division by zero.
  float SetupSparkle(GeneratorParticle& particle) const;
  // Every process of the sparkle run ten times by a tenth of a random part of its life.
  void RandomPreRun(GeneratorParticle& particle) const;

  MediaSpeedParam twinkleSpeed;  // x 0.02
  TimeParam riseTime;
  TimeParam fallTime;
  MediaSpeedParam spinSpeed;  // x 0.02, radians a second of its clock
  UINTSclaleTo<float> minimumSize{0, 0.01f, 0.0f};
};
