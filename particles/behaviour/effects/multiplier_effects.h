#pragma once

#include <cstdint>

#include "core/ds_safe_ptr.h"
#include "core/graph/zkw_custom_graph.h"
#include "core/param/value_spread_prm.h"
#include "geometry/gradient/zkw_custom_gradient.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"

// Effects that scale one parameter of the particle by a factor each frame: float parameter
// [index] (mode 0) or the x and y of vector [index] (mode 1), each blended by its weight
// (F x w + 1 - w). The kinds compute the factor. An index outside the particle's floats or
// vectors, or another mode, changes nothing.
class ZKW_PtclSysEff_Multiplicator : public ZKW_ParticlSystem_Effect {
 public:
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
  virtual float GetFactor(float clockTime, float life, ParticleRecord* p) = 0;

  int32_t parameterIndex = 0;
  int32_t mode = 0;
  float xWeight = 0.0f, yWeight = 0.0f, zWeight = 0.0f;  // z is stored only

 protected:
  ZKW_PtclSysEff_Multiplicator() = default;
  ZKW_PtclSysEff_Multiplicator(const ZKW_PtclSysEff_Multiplicator&) = default;
  // "ZKW_PtclSysEff_Multiplicator" version 2: index, mode, three weights; then the base record.
  void SaveMultiplicator(DS_IOF_Archive& archive) const;
  // A version-1 record holds only the index.
  void ReadMultiplicator(DS_IOF_Archive& archive);
};

// A random factor fixed per particle: value x ((1 - r) x s + r), the value scaled by 0.01
// (stored 100) and s the spread's 1 - percent / 100.
class ZKW_PtclSysEff_VariatorMF : public ZKW_PtclSysEff_Multiplicator {
 public:
  ZKW_PtclSysEff_VariatorMF();
  ZKW_PtclSysEff_VariatorMF(const ZKW_PtclSysEff_VariatorMF& other);
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  float GetFactor(float clockTime, float life, ParticleRecord* p) override;

  DS_SafePtr<ValueSpreadPrm> spreadValue;
  float r;
};

// An envelope of the particle's life fraction.
class ZKW_PtclSysEff_Graph : public ZKW_PtclSysEff_Multiplicator {
 public:
  ZKW_PtclSysEff_Graph() = default;
  ZKW_PtclSysEff_Graph(const ZKW_PtclSysEff_Graph&) = default;
  // The header, the envelope's graph record, then the Multiplicator record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  float GetFactor(float clockTime, float life, ParticleRecord* p) override;

  ZKW_CustomGraph envelope;
};

// The gradient's value at the particle's parent: all children of one parent get one factor. A
// particle without a parent, or an effect without a gradient, gets the factor 1 (no change).
class ZKW_PtclSysEff_Gradient : public ZKW_PtclSysEff_Multiplicator {
 public:
  ZKW_PtclSysEff_Gradient() = default;
  // Shares the gradient.
  ZKW_PtclSysEff_Gradient(const ZKW_PtclSysEff_Gradient&) = default;
  // The header, the gradient's record, then the Multiplicator record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  float GetFactor(float clockTime, float life, ParticleRecord* p) override;

  ZKW_CustomGradient gradient;
};
