#pragma once

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/classic/routines/inner_particle_routine.h"
#include "platform/math/d3dx_types.h"

// Steers a vortex particle: its velocity becomes the radial speed away from the centre plus the
// swirl about it (one sense for swirl direction 0, the other otherwise); a particle at the
// centre is left alone. It replaces the velocity, and runs after the motion routine, which has
// moved the particle with the previous velocity.
//
// The four values are the control's (not owned): its particles live in its list and go with it.
class IPR_VortexVel : public InnerParticleRoutine {
 public:
  IPR_VortexVel(const MediaParamT<D3DXVECTOR3>* centre, const UINTSclaleTo<float>* speed,
                const UINTSclaleTo<float>* swirl, const MediaParamT<int>* swirlDirection)
      : centre(centre), speed(speed), swirl(swirl), swirlDirection(swirlDirection) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  const MediaParamT<D3DXVECTOR3>* centre;
  const UINTSclaleTo<float>* speed;
  const UINTSclaleTo<float>* swirl;
  const MediaParamT<int>* swirlDirection;
};
