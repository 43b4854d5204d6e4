#pragma once

#include <cstdint>

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "core/param/value_spread_prm.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/params/periodic_prm.h"

// Effects that make particles oscillate. The shared base owns the wave: a cosine or a two-octave
// value noise of speed x the clock's local time + phase, where the phase is fixed or drawn per
// particle. Clones share every parameter holder and draw a new random phase.
class ZKW_PtclSysEffect_TimeFunc : public ZKW_ParticlSystem_Effect {
 public:
  // The wave value at the context's local time (0 without a context).
  float Wave(const EffectContext* context) const;
  // The amplitude's scaled value.
  float Amplitude() const;

  DS_SafePtr<ValueSpreadPrm> spreadValue;  // stored only
  DS_SafePtr<PeriodicPrm> wave;
  DS_SafePtr<MediaParamT<int>> randomPhaseOn;
  DS_SafePtr<UINTSclaleTo<float>> phase;  // hundredths of a turn
  float randomPhase;

 protected:
  // The amplitude is scaled by `amplitudeFactor` (stored default 50).
  explicit ZKW_PtclSysEffect_TimeFunc(float amplitudeFactor);
  ZKW_PtclSysEffect_TimeFunc(const ZKW_PtclSysEffect_TimeFunc& other);
  // "ZKW_PtclSysEffect_TimeFunc" version 2 and its fields, then the base record.
  void SaveTimeFunc(DS_IOF_Archive& archive) const;
  // The TimeFunc header and body, then the base header and fields. A version-1 record has no
  // random-phase switch and no phase.
  void ReadTimeFunc(DS_IOF_Archive& archive);
};

// Scales float parameter [index] (default 1, the uniform scale) by 1 - (f + 1) x a / 2: between
// 1 - a and 1 on the cosine. An index outside the particle's floats changes nothing.
class ZKW_PtclSysEffect_Pulsation : public ZKW_PtclSysEffect_TimeFunc {
 public:
  ZKW_PtclSysEffect_Pulsation();
  ZKW_PtclSysEffect_Pulsation(const ZKW_PtclSysEffect_Pulsation&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  int32_t parameterIndex = 1;
};

// Shakes the particle's position offset along a direction (default 90 degrees, (0, -1)); with
// rotate-with-particle 1 the direction turns with the particle's previous world rotation.
class ZKW_PtclSysEffect_Vibration : public ZKW_PtclSysEffect_TimeFunc {
 public:
  ZKW_PtclSysEffect_Vibration() : ZKW_PtclSysEffect_Vibration(1.0f) {}
  ZKW_PtclSysEffect_Vibration(const ZKW_PtclSysEffect_Vibration&) = default;
  // "ZKW_PtclSysEffect_Vibration" version 2: direction, rotate-with-particle.
  bool Save(DS_IOF_Archive& archive) const override;
  // A version-1 record has no rotate-with-particle value.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<ZKW_SmartAngle> direction;
  MediaParamT<int> rotateWithParticle{0};

 protected:
  explicit ZKW_PtclSysEffect_Vibration(float amplitudeFactor);
};

// Stretches the particle along the direction by 1 + f x a (rotation matrix B = B x R^T S R).
class ZKW_PtclSysEffect_Deformation : public ZKW_PtclSysEffect_Vibration {
 public:
  ZKW_PtclSysEffect_Deformation() : ZKW_PtclSysEffect_Vibration(0.01f) {}
  ZKW_PtclSysEffect_Deformation(const ZKW_PtclSysEffect_Deformation&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  // Its own header's version is not used; the Vibration record's is.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
};

// Swings the particle about its centre: A = A x RotationZ(f x a degrees).
class ZKW_PtclSysEffect_Swinging : public ZKW_PtclSysEffect_TimeFunc {
 public:
  ZKW_PtclSysEffect_Swinging() : ZKW_PtclSysEffect_TimeFunc(1.8f) {}
  ZKW_PtclSysEffect_Swinging(const ZKW_PtclSysEffect_Swinging&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
};
