#pragma once

#include "core/ds_safe_ptr.h"
#include "particles/classic/routines/inner_particle_routine.h"

// Routines that move one value of a particle: a value index counts as RoutineParticle::ValueAt
// does, a multiplier index counts the per-step multipliers. An index outside them changes
// nothing.

// Adds `remaining` to value k over time at `rate` per unit of age: while some remains and the
// age has grown since the last step, c = |(age - last) x rate| is added (at most what remains,
// with the sign of the rate) and taken from what remains.
class IPR_Increment : public FloatParamRoutine {
 public:
  IPR_Increment(int valueIndex, float lastAge, float remaining, float rate)
      : FloatParamRoutine(valueIndex), lastAge(lastAge), remaining(remaining), rate(rate) {}
  bool Apply(float dt, RoutineParticle& particle) override;

  float lastAge;
  float remaining;
  float rate;
};

// Scales multiplier i by a ramp over the age: `start` until age t1, then linearly to `end` at
// t2, `end` afterwards.
class IPR_IncrementM : public FloatParamRoutine {
 public:
  IPR_IncrementM(int multiplier, float start, float end, float t1, float t2)
      : FloatParamRoutine(multiplier), start(start), end(end), t1(t1), t2(t2) {}
  bool Apply(float dt, RoutineParticle& particle) override;

  float start, end, t1, t2;
};

// Scales multiplier i by cos(age x frequency + phase) x amplitude + base.
class IPR_Harmonic : public OscilationRoutine {
 public:
  IPR_Harmonic(int multiplier, float phase, float base, float frequency, float amplitude)
      : OscilationRoutine(multiplier),
        phase(phase),
        base(base),
        frequency(frequency),
        amplitude(amplitude) {}
  bool Apply(float dt, RoutineParticle& particle) override;

  float phase, base, frequency, amplitude;
};

// The noise a Perlin routine follows; shared by copies of the routine.
struct PerlinNoiseParams {
  float persistence = 0.5f;
  float frequency = 0.0f;
  float amplitude = 0.0f;
  int octaves = 3;
  int seed = 0;
};

// Scales multiplier i by amplitude x the sum of three octaves of smoothed value noise along its
// own noise time (octave k at frequency x 2^k, weight 0.5^k) + base.
class IPR_Perlin : public OscilationRoutine {
 public:
  // Makes its noise (seed (rand() mod 32767)^2 + 2, amplitude x 0.5) and applies itself once to
  // the particle with a step of 0.
  IPR_Perlin(float frequency, RoutineParticle& particle, int multiplier, float amplitude,
             float base);
  bool Apply(float dt, RoutineParticle& particle) override;

  float noiseTime = 0.0f;
  float base;
  DS_SafePtr<PerlinNoiseParams> noise;
};
