#pragma once

#include <cstdint>
#include <memory>

#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_particle_origin_generator.h"

// Smoke: every origin is a puff that leaves the position inside the sector at 100 pixels per
// second, drifts sideways under a constant wind, grows from 0.5 to 1.5, turns slowly, fades in
// quickly and out over its life. Each puff is one rotated quad of picture 0, drawn through the
// generator's effect with its current technique. Five seconds are simulated when the run-time
// object is made, so a slide starts with smoke already rising.
//
// Record "DS_Smoke" version 1: wind (UInt32), then the "DS_ParticleOriginGenerator" record.
class DS_Smoke : public DS_ParticleOriginGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_Smoke() = default;
  DS_Smoke(const DS_Smoke& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Stage 0 takes the current frame of picture 0; layer 0 is drawn through the effect as it
  // stands (fixed-function without one).
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The own clock, StepOrigins, then the puff quads.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The static attach, one layer, then 100 steps of 0.05 s.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;
  // A puff: moving with the wind, growing by 1 over its life, fading in at 5v per second for
  // its first fifth (v the timeline value), out at 1 per second, spinning at -50 to 50 degrees
  // per second from a random turn; size 0.5, opacity 0.
  ParticleOrigin NewOrigin() override;

  // One oriented quad per live origin in layer 0.
  void FillLayer(DS_ParticlesObj& obj);

  UINTSclaleTo<float> wind{0, 2.0f, -100.0f};  // pixels per second squared, to the right
};
