#pragma once

#include "core/ds_safe_ptr.h"
#include "particles/classic/routines/routine_particle.h"

// One aspect of a classic particle's behaviour, applied once per step. Routines are shared
// through DS_SafePtr; most belong to one particle.
class InnerParticleRoutine {
 public:
  virtual ~InnerParticleRoutine() = default;
  // False: the particle must die.
  virtual bool Apply(float dt, RoutineParticle& particle) = 0;
  // The bound the age is compared with (the age family); the life fraction is age / Limit. 1 for
  // every other kind, so that the age itself is the fraction.
  virtual float Limit() const { return 1.0f; }

 protected:
  InnerParticleRoutine() = default;
  InnerParticleRoutine(const InnerParticleRoutine&) = default;
  InnerParticleRoutine& operator=(const InnerParticleRoutine&) = default;
};

// A routine that acts on one value of the particle (a multiplier or another indexed value).
class FloatParamRoutine : public InnerParticleRoutine {
 public:
  explicit FloatParamRoutine(int index) : index(index) {}

  int index;
};

// Marks the oscillating routines.
class OscilationRoutine : public FloatParamRoutine {
 public:
  using FloatParamRoutine::FloatParamRoutine;
};

// A new routine of kind R in a fresh handle, from the particle pool.
template <class R, class... Args>
DS_SafePtr<InnerParticleRoutine> MakeRoutine(Args&&... args) {
  return DS_SafePtr<InnerParticleRoutine>::MakePooled<R>(std::forward<Args>(args)...);
}
