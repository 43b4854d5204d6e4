#pragma once

#include <cstdint>
#include <vector>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_static_generator.h"
#include "objects/sprites/generators/particle_origin.h"

// A positioned generator on a clock of its own that keeps a list of origins (see
// ParticleOrigin) and emits new ones at the origin rate times the timeline value, in random
// directions inside its sector. Smoke draws its origins as puffs; fireworks use only the clock.
//
// Record "DS_ParticleOriginGenerator" version 2: origin life, origin rate, origin size, sector
// direction, sector spread, own speed (UInt32, stored values), then the "DS_StaticGenerator"
// record. Version 1 holds no spread (0 is kept).
class DS_ParticleOriginGenerator : public DS_StaticGenerator {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_ParticleOriginGenerator();
  // The parameters, the own clock and the emission accumulator; a copy starts without origins.
  DS_ParticleOriginGenerator(const DS_ParticleOriginGenerator& other);

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The own clock, then StepOrigins with its step.
  void Update(float t, DS_ParticlesObj& obj) override;
  // A new origin at the position: life the scaled origin life, velocity 100 in a random
  // direction of the sector, no behaviours.
  virtual ParticleOrigin NewOrigin();

  // Ages every origin and runs its behaviours (an origin whose life falls below 0 leaves), then
  // emits one origin for every 1 / (v x R) seconds the accumulator holds, v the timeline value
  // and R the origin rate. While v x R is 0 nothing is emitted and the accumulator stays, so that
  // no burst of missed origins follows; at most kMaxParticlesPerList are emitted per step and
  // live at once (the surplus is dropped).
  void StepOrigins(float dt);

  UINTSclaleTo<float> originLife{0, 0.04f, 0.0f};  // seconds
  MediaParamT<unsigned> originRate{0};             // per second
  MediaParamT<unsigned> originSize{0};             // pixels
  MediaSector sector;
  MediaSpeedParam ownSpeed;  // x 0.02
  std::vector<ParticleOrigin> origins;
  float accumulator = 0.0f;
};
