#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/scene/ds_abobj_constructor.h"
#include "objects/sprites/generators/generator_particle.h"
#include "objects/sprites/generators/per_second_counter.h"

class DS_2D_Light;
class DS_ParticlesObj;

// The base of every particle generator: a particle lifetime, an emission rate, an auxiliary
// value and a start speed (each kind scales them), an emission switch, its own speed clock, and
// two particle lists: the sources (saved with the object) and the live particles. When its
// slide starts the generator is cloned and the clone bound to a DS_ParticlesObj, which forwards
// updates and drawing to it.
//
// Record "DS_ParticleGenerator" version 3: Dword source count, x, y, z (Float) per source,
// lifetime, emission rate, auxiliary value, start speed (UInt32, stored values), emission
// switch (Int32), then the "DS_ABObj_Constructor" record. Version 1 holds no sources; versions
// 1 and 2 hold none of the five values (20, 30, 0, 0 and 0 are taken). The speed is not saved.
class DS_ParticleGenerator : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 3;

  // Every value 0, emission off, the speed stored 50 (scaled 1.0).
  DS_ParticleGenerator();
  // Every member: the parameters (scaled values recomputed), both lists with their processes,
  // the speed clock and the last emission time.
  DS_ParticleGenerator(const DS_ParticleGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A DS_ParticlesObj on a clone.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // Operations the kinds implement or refine.

  virtual void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) = 0;
  // The base clock (see Step), then every process of the sources and then of the particles,
  // dead particles removed. Adds no particles and writes no vertices.
  virtual void Update(float t, DS_ParticlesObj& obj);
  // Binds the clone to its run-time object: pictures, effect, layers.
  virtual void AttachRuntimeObject(DS_ParticlesObj& obj) = 0;
  // False: no generator is hit by the mouse.
  virtual bool HitTest(const int /*point*/[2]) const { return false; }
  // How many times the run-time object reads the picture below; 0 here.
  virtual int NeedsTarget() const { return 0; }
  // A new particle's base behaviour from its source: the source's opacity; dead at the scaled
  // lifetime; fading by 1 over it; flying in a random direction at up to the start speed.
  virtual void InitParticle(GeneratorParticle& particle, const GeneratorParticle& source);
  virtual std::unique_ptr<DS_ParticleGenerator> Clone() const = 0;

  // n particles due by the emission rate at local time t (at most kMaxParticlesPerList), per
  // source evenly between its previous and its current position (both ends excluded), each
  // given its behaviour by InitParticle; then every source's previous position becomes its
  // position. Nothing while emission is switched off or without sources; the particle list
  // never passes kMaxParticlesPerList.
  void EmitAlongSources(float t);

  // Advances `clock` as every generator clock advances at local time t, and answers its step.
  static float Step(MediaSpeedParam& clock, float t);

  UINTSclaleTo<float> lifetime;
  PerSecondCounter emissionRate;
  UINTSclaleTo<float> auxiliary;
  UINTSclaleTo<float> startSpeed;
  MediaParamT<int> emissionSwitch{0};
  // Stored 50, scaled x 0.02.
  MediaSpeedParam speed;
  std::list<GeneratorParticle> sources;
  std::list<GeneratorParticle> particles;
};
