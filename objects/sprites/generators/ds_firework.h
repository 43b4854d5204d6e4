#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_particle_origin_generator.h"

// Fireworks: sparks (the sources) thrown out of the position, one burst each time a timeline
// that is not continuous leaves its hidden state, or a steady spray on a continuous one; each
// spark leaves a trail of fading particles (the particles). Every spark and trail particle is
// drawn twice, as a core (layer 0, colour 1) and as a glow (layer 1, colour 2), into two masks
// composed with the picture below.
//
// The generator base's lifetime is the trail particles' life (x 0.01 s), its emission rate
// their count per second and spark (x 2 + 1), its auxiliary value their growth over life
// (x 0.1), its start speed their largest drift speed.
class DS_Firework : public DS_ParticleOriginGenerator {
 public:
  DS_Firework();
  DS_Firework(const DS_Firework& other) = default;

  // The two-mask draw.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The own clock, the sparks and their trails, then both layers.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The mask, the static attach, no sparks, two layers.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // 1 while the composition can be drawn, in every blend mode: "Main" reads the picture below
  // and is written whole, so that without the switch it would lay the slide's bare background
  // picture over the objects drawn below.
  int NeedsTarget() const override;
  // Gives a new spark its life of `seconds` and its flight.
  virtual void InitSpark(GeneratorParticle& spark, float seconds) = 0;

  // One step of sparks and trails at own local time `t` (see the class comment); at most
  // kMaxParticlesPerList sparks live at once.
  void StepSparks(float dt, float t);
  // Both layers: sparks first, then trail particles; nothing unless both lock.
  void FillLayers(DS_ParticlesObj& obj);

  MediaParamT<unsigned> sparkCount{0};
  MediaParamT<unsigned> sparkSize{0};               // pixels
  UINTSclaleTo<float> sparkSpeed{0, 4.0f, 0.0f};    // pixels per second
  UINTSclaleTo<float> glowSize{0, 0.04f, 1.0f};     // factor on the spark size
  UINTSclaleTo<float> sparkGravity{0, 4.0f, 0.0f};  // not stored
  uint8_t armed = 1;
  float nextSparkTime = 0.0f;

 private:
  void AddSpark(float seconds);
};

// The firework kind that is stored.
//
// Record "DS_FireworkSimple" version 1: spark count, spark size, spark speed, glow size
// (UInt32), then the "DS_ParticleOriginGenerator" record.
class DS_FireworkSimple : public DS_Firework {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_FireworkSimple() = default;
  DS_FireworkSimple(const DS_FireworkSimple& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleGenerator> Clone() const override;
  // Life 0, scale 1; dead after `seconds`; flying at up to the spark speed in a random
  // direction, pulled down by the spark gravity.
  void InitSpark(GeneratorParticle& spark, float seconds) override;
  // Opacity the timeline value, losing 1 over the trail life; growing by the auxiliary value
  // over it; drifting at up to the start speed.
  void InitParticle(GeneratorParticle& particle, const GeneratorParticle& source) override;
};
