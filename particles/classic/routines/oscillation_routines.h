#pragma once

#include "core/param/oscillation_params.h"
#include "particles/classic/routines/routine_particle.h"

// Attach to a particle the routine an oscillation block asks for, on its multiplier `index`,
// with the block's scaled frequency and amplitude copied in: mode 1 an IPR_Harmonic (phase
// rand()/32767 x 2 pi, applied once at once), mode 2 an IPR_Perlin (amplitude x 4, which applies
// itself once), any other mode nothing. The scale form swings around 1 - amplitude, the offset
// form around 0.
void AttachScaleRoutine(const OscillationParams& params, int index, RoutineParticle& particle);
void AttachOffsetRoutine(const OscillationParams& params, int index, RoutineParticle& particle);
