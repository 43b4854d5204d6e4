#pragma once

#include "core/graph/graph_spread_prm.h"
#include "core/param/color_set_params.h"
#include "particles/behaviour/particle/particle_transforms.h"

// Colours a particle from its owner's colour set, at its own random number (when the set's
// second mode value is non-zero) or at its life fraction: colour mode 2 picks from the list as a
// table, 1 blends the first two colours, any other takes the first. A list too short for the
// mode leaves the colour as it is.
class PtclTr_Color : public ZKW_PtclTransform {
 public:
  PtclTr_Color(const ColorSetParams* colours, float r) : colours(colours), r(r) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const ColorSetParams* colours;
  float r;
};

// float[k] *= the spread factor with the particle's random k + 6, times the envelope at the
// particle's life fraction.
class PtclTr_TimePrm : public PtclTr_FloatPrm {
 public:
  PtclTr_TimePrm(int k, const GraphSpreadPrm* param) : PtclTr_FloatPrm(k), param(param) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const GraphSpreadPrm* param;
};
