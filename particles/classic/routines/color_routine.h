#pragma once

#include "core/param/color_set_params.h"
#include "particles/classic/routines/inner_particle_routine.h"

// Colours a particle from a colour set: mode 0 the first colour; mode 1 a blend from the first
// colour to the second by a phase; any other mode the colour at phase x (count - 1), rounded to
// the nearest (halves to even). The phase is the routine's own when the set's second mode value
// (its random-phase flag) is non-zero, else the particle's life fraction.
//
// The set is the appearance's (not owned): particles are released before their control's
// appearance. A set without colours leaves the particle's colour; indices are kept inside the
// list, so a phase outside 0..1 takes the nearest end.
class IPR_Color : public InnerParticleRoutine {
 public:
  IPR_Color(const ColorSetParams* colours, float phase) : colours(colours), phase(phase) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  const ColorSetParams* colours;
  float phase;
};
