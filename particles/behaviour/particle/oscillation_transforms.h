#pragma once

#include <cstdint>

#include "core/param/jitter_param.h"
#include "core/param/moded_scaled_params.h"
#include "core/param/oscillation_params.h"
#include "core/param/value_spread_prm.h"
#include "particles/behaviour/params/spin_prm.h"
#include "particles/behaviour/particle/particle_transforms.h"

// The transforms the preset-tree sources give every particle they make: spreads, envelopes,
// oscillations and spin. They point into their source's parameter blocks and read them on every
// call, so an edited parameter acts on living particles at once.

// Cosine wobble of float[k]: around the current value for base 0, else scaling it around base.
class PtclTr_Harmonic : public PtclTr_FloatPrm {
 public:
  PtclTr_Harmonic(int k, const OscillationParams* params, float base, float phase)
      : PtclTr_FloatPrm(k), params(params), base(base), phase(phase) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const OscillationParams* params;
  float base;
  float phase;
};

// Value-noise wobble of float[k], with the same base rule as the harmonic one. The seed is drawn
// (one rand()) when the transform is made.
class PtclTr_Perlin : public PtclTr_FloatPrm {
 public:
  PtclTr_Perlin(int k, const OscillationParams* params, float base);
  bool Apply(float dt, ParticleRecord* p) override;
  const OscillationParams* params;
  float base;
  float phase = 0.0f;
  double persistence = 0.5, frequency = 1.0, scale = 2.0;
  int octaves = 1;
  int seed;
};

// Runs the harmonic or the Perlin part as the block's mode says at each call (other modes: none).
class PtclTr_Oscilator : public ZKW_PtclTransform {
 public:
  PtclTr_Oscilator(int k, const OscillationParams* params, float base, float phase)
      : harmonic(k, params, base, phase), perlin(k, params, base), params(params) {}
  bool Apply(float dt, ParticleRecord* p) override;
  PtclTr_Harmonic harmonic;
  PtclTr_Perlin perlin;
  const OscillationParams* params;
};

// float[k] *= the spread factor of a value-and-spread block with the particle's random k + 6.
class PtclTr_JitterCtrl : public PtclTr_FloatPrm {
 public:
  PtclTr_JitterCtrl(int k, const ValueSpreadPrm* param) : PtclTr_FloatPrm(k), param(param) {}
  bool Apply(float, ParticleRecord* p) override;
  const ValueSpreadPrm* param;
};

// float[k] *= v x (s + r x (1 - s)) with the two scaled members of a jitter block.
class PtclTr_JitterUpdater : public PtclTr_FloatPrm {
 public:
  PtclTr_JitterUpdater(int k, const ZKW_JitterParam* param) : PtclTr_FloatPrm(k), param(param) {}
  bool Apply(float, ParticleRecord* p) override;
  const ZKW_JitterParam* param;
};

// The rise-and-fall factor of an envelope at life fraction t: rising from the birth level to 1
// until the rise end, falling to the death level after the fall start, all times the level.
float EnvelopeFactor(const ModedScaledParams& envelope, float t);

// float[k] *= the envelope's factor at the particle's life fraction.
class PtclTr_AgeTransform : public PtclTr_FloatPrm {
 public:
  PtclTr_AgeTransform(int k, const ModedScaledParams* envelope)
      : PtclTr_FloatPrm(k), envelope(envelope) {}
  bool Apply(float, ParticleRecord* p) override;
  const ModedScaledParams* envelope;
};

// Sets the particle's rotation: a fixed angle with its spread, spinning, or turned to the motion,
// then the parent's rotation.
class PtclTr_StandardSpin : public ZKW_PtclTransform {
 public:
  PtclTr_StandardSpin(const SpinPrm* spin, float angleRandom, float speedRandom, int spinSign)
      : spin(spin), angleRandom(angleRandom), speedRandom(speedRandom), spinSign(spinSign) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const SpinPrm* spin;
  float angleRandom;
  float speedRandom;
  float spinAngle = 0.0f;
  int spinSign;
};

// Appends a PtclTr_StandardSpin on `spin` with its random numbers drawn in order: the angle's
// in -1..1, the speed's in 0..1, then the spin sign (+1 for an odd draw, -1 for an even one).
void AttachRandomSpin(ParticleRecord& p, const SpinPrm* spin);
