#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"

// The trails of the fireflies: short-lived trace particles emitted in a circle around every
// firefly in turn, with an appearance of their own. With an expansion above 0 the traces fly off
// in random directions; otherwise they move relative to the firefly's centre (not at all at an
// expansion of exactly 0).
class ZKW_ParticleTracer {
 public:
  static constexpr int32_t kVersion = 4;

  ZKW_ParticleTracer() = default;
  // Every value; the traces are shared by handle.
  ZKW_ParticleTracer(const ZKW_ParticleTracer& other) = default;
  ZKW_ParticleTracer& operator=(const ZKW_ParticleTracer&) = delete;
  virtual ~ZKW_ParticleTracer();

  // Int32 4, Int32 11, the look's shape name and body, UInt32 rate, lifetime, circle size,
  // expansion.
  void Save(DS_IOF_Archive& archive) const;
  // The Int32 version t, then: from 2 the look (its version, shape name and body); rate and
  // lifetime; below 2 a UInt32 into the look's size; circle size and expansion; below 4 an Int32
  // that is dropped (gravity on); below 3 the envelopes of the older traces.
  void Read(DS_IOF_Archive& archive);

  // Dresses a new trace born around `origin` (a firefly's drawn centre) of a firefly of size
  // `reach`: motion, life, the look, its velocity, and an own opacity of 0.
  virtual void InitParticle(const DS_SafePtr<RoutineParticle>& trace, const D3DXVECTOR3& origin,
                            float reach);
  // While the lifetime is above 0: around every firefly in turn, the traces the counter gives for
  // the step (one counter for all); then every trace steps. The traces stay within
  // kMaxParticlesPerList.
  void Update(float reach, float step, const RoutineParticleList& fireflies);

  ZKW_CircleImitter emitter;
  ZKW_EvenImitter counter;
  ParticleAppearance look;
  UINTSclaleTo<float> lifetime{0, 0.01f, 0.0f};    // seconds
  UINTSclaleTo<float> circleSize{0, 0.01f, 0.0f};  // of the firefly's size
  UINTSclaleTo<float> expansion{0, 0.02f, -1.0f};  // trace speed factor
  RoutineParticleList traces;
};
