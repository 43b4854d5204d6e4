#pragma once

#include "core/param/media_param_tb.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/particle/particle_record.h"

// The per-particle transforms shared by several owners: life and age, kinematics and the float
// parameter multipliers. Owners create them with the values they hold and pointers to their own
// parameters, which the transforms read on every call (an owner outlives its particles).

// Life grows by dt / lifetime; at 1 (or at once for lifetime 0) the particle dies.
class PtclTr_MaxAge : public ZKW_PtclTransform {
 public:
  explicit PtclTr_MaxAge(float lifetime) : lifetime(lifetime) {}
  bool Apply(float dt, ParticleRecord* p) override;
  float lifetime;
};

// Life cycles through 0 to 1 every period, forever.
class PtclTr_PhoenixLife : public ZKW_PtclTransform {
 public:
  explicit PtclTr_PhoenixLife(float period) : period(period) {}
  // A period that is not positive leaves the life as it is.
  bool Apply(float dt, ParticleRecord* p) override;
  float period;
};

// Alive while the age is below the limit.
class PtclTr_DieOnTimer : public ZKW_PtclTransform {
 public:
  explicit PtclTr_DieOnTimer(float limit) : limit(limit) {}
  bool Apply(float, ParticleRecord* p) override;
  float limit;
};

// Life = the parent's life.
class PtclTr_InheritAge : public ZKW_PtclTransform {
 public:
  bool Apply(float, ParticleRecord* p) override;
};

// Vector parameter k = the parent's.
class PtclTr_InheritVectorPrm : public ZKW_PtclTransform {
 public:
  explicit PtclTr_InheritVectorPrm(int k) : k(k) {}
  bool Apply(float, ParticleRecord* p) override;
  int k;
};

// Steps the atlas cell at the frame rate, at most one cell a call, row after row; past the last
// row it starts again, and the particle lives on only when the end mode is 1 (any other mode
// plays the atlas once). Columns or rows below 1 count as 1.
class PtclTr_TexAtlasAnimation : public ZKW_PtclTransform {
 public:
  PtclTr_TexAtlasAnimation(int columns, int rows, const UINTSclaleTo<float>* framesPerSecond,
                           const MediaParamTB<int>* endMode)
      : columns(columns), rows(rows), framesPerSecond(framesPerSecond), endMode(endMode) {}
  bool Apply(float dt, ParticleRecord* p) override;
  int columns, rows;
  const UINTSclaleTo<float>* framesPerSecond;
  const MediaParamTB<int>* endMode;
  float accumulator = 0.0f;
};

// Integrates velocity and position from the acceleration of the frame.
class PtclTr_Kinematic : public ZKW_PtclTransform {
 public:
  bool Apply(float dt, ParticleRecord* p) override;
};

// The base of the transforms that act on one float parameter, by index.
class PtclTr_FloatPrm : public ZKW_PtclTransform {
 public:
  explicit PtclTr_FloatPrm(int k) : k(k) {}
  int k;

 protected:
  // The parameter, or null for an index outside the record.
  float* Target(ParticleRecord* p) const {
    return k >= 0 && k < ParticleRecord::kFloatCount ? &p->floats[k] : nullptr;
  }
};

// float[k] *= a fixed factor.
class PtclTr_PrmMultiplicator : public PtclTr_FloatPrm {
 public:
  PtclTr_PrmMultiplicator(int k, float factor) : PtclTr_FloatPrm(k), factor(factor) {}
  bool Apply(float, ParticleRecord* p) override;
  float factor;
};

// float[k] *= a float of the owner, read every frame.
class PtclTr_RefMultiplicator : public PtclTr_FloatPrm {
 public:
  PtclTr_RefMultiplicator(int k, const float* factor) : PtclTr_FloatPrm(k), factor(factor) {}
  bool Apply(float, ParticleRecord* p) override;
  const float* factor;
};
