#pragma once

#include "core/param/value_spread_prm.h"
#include "particles/behaviour/params/forces_prm.h"
#include "particles/behaviour/particle/particle_record.h"

// Adds an emitter's gravity and drag to the particle's acceleration of the frame. The size block
// weights quadratic drag of mode 1 by the particle's size spread factor.
class PtclTr_StandardForces : public ZKW_PtclTransform {
 public:
  PtclTr_StandardForces(const ForcesPrm* forces, const ValueSpreadPrm* size)
      : forces(forces), size(size) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const ForcesPrm* forces;
  const ValueSpreadPrm* size;
};
