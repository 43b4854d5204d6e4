#pragma once

#include <cstdint>

#include "core/ds_safe_ptr.h"
#include "geometry/gradient/zkw_custom_gradient.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/params/color_source_params.h"

// Effects that set a particle's colour (vector 4) from a colour source. Clones share the source.

// Sets the particle's colour from the source at t; no source, or a source with no colour there,
// leaves it.
void SetColourFromSource(const ColorSourceParams* source, float t, ParticleRecord* p);

// The colour at the particle's life fraction.
class ZKW_PtclSysEffect_ColorD : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_ColorD();
  ZKW_PtclSysEffect_ColorD(const ZKW_PtclSysEffect_ColorD&) = default;
  // "ZKW_PtclSysEffect_ColorD" version 1: the colour-source block, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<ColorSourceParams> source;
};

// The colour at a random number fixed per particle.
class ZKW_PtclSysEffect_ColorV : public ZKW_PtclSysEffect_ColorD {
 public:
  ZKW_PtclSysEffect_ColorV();
  ZKW_PtclSysEffect_ColorV(const ZKW_PtclSysEffect_ColorV& other);
  // "ZKW_PtclSysEffect_ColorV" version 1, then the whole ColorD record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  float random;
};

// The colour at 1 - the gradient's value at the particle's parent: all children of one parent
// get one colour. A particle without a parent, or an effect without a gradient, keeps its colour.
class ZKW_PtclSysEff_ColorGradient : public ZKW_ParticlSystem_Effect {
 public:
  // The default linear gradient and a colour source in gradient mode.
  ZKW_PtclSysEff_ColorGradient();
  // Shares the gradient and the colour source.
  ZKW_PtclSysEff_ColorGradient(const ZKW_PtclSysEff_ColorGradient&) = default;
  // "ZKW_PtclSysEff_ColorGradient" version 1: the colour-source block, the gradient's record, then
  // the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  ZKW_CustomGradient gradient;
  DS_SafePtr<ColorSourceParams> source;
};
