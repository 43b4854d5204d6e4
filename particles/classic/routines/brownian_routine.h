#pragma once

#include "core/param/media_quad.h"
#include "core/param/scaled_param.h"
#include "particles/classic/routines/inner_particle_routine.h"
#include "platform/math/d3dx_types.h"

// A random walk inside a region: the particle walks straight at 75 to 100 units a second (times
// the walk speed), takes a new random direction at random intervals (on average `change rate`
// times a second), eases into every new velocity over the acceleration time, and is steered back
// towards the region's middle at 100 units a second whenever it leaves the region.
//
// The region and the three parameters are the control's (not owned): its particles live in its
// list and go with it.
class IPR_Brownian : public InnerParticleRoutine {
 public:
  // Draws the first velocity (length, then angle) and the first time to a change, in that order.
  IPR_Brownian(const MediaQuad* region, const UINTSclaleTo<float>* walkSpeed,
               const UINTSclaleTo<float>* changeRate, const UINTSclaleTo<float>* accelerationTime);

  bool Apply(float dt, RoutineParticle& particle) override;

  // A time to the next change: uniform in [0.5 / r, 1.5 / r] for the change rate r.
  float NextChangeTime() const;

  const MediaQuad* region;
  const UINTSclaleTo<float>* walkSpeed;
  const UINTSclaleTo<float>* changeRate;
  const UINTSclaleTo<float>* accelerationTime;
  D3DXVECTOR3 velocity{0, 0, 0};
  D3DXVECTOR3 acceleration{0, 0, 0};
  float accelerationLeft = 0.0f;
  float timeToChange = 0.0f;
  uint8_t inside = 1;
};
