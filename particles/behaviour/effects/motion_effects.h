#pragma once

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_tb.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/laws/motion_law.h"

// Effects that act on motion and texturing. Clones share every parameter holder.

// A constant force along a direction: acceleration += strength x the direction (270 degrees, the
// default, points along +y).
class ZKW_PtclSysEffect_ForceGravitation : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_ForceGravitation();
  ZKW_PtclSysEffect_ForceGravitation(const ZKW_PtclSysEffect_ForceGravitation&) = default;
  // Version 1: UInt32 direction in degrees, UInt32 strength, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<ZKW_SmartAngle> direction;
  DS_SafePtr<UINTSclaleTo<float>> strength;
};

// A drag against the world velocity, growing with the square of the speed: acceleration +=
// strength x |v| x v (the strength is negative for a drag).
class ZKW_PtclSysEffect_ForceDrag : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_ForceDrag();
  ZKW_PtclSysEffect_ForceDrag(const ZKW_PtclSysEffect_ForceDrag&) = default;
  // Version 1: UInt32 strength, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<UINTSclaleTo<float>> strength;
};

// Scrolls the particle's texture rectangle at a speed: mode 0 scrolls u by -offset, 1 by
// +offset, 2 v by -offset, 3 by +offset. Asks for wrapped texture addressing.
class ZKW_PtclSysEffect_ScrollTex : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_ScrollTex();
  ZKW_PtclSysEffect_ScrollTex(const ZKW_PtclSysEffect_ScrollTex&) = default;
  // Version 1: UInt32 speed, Int32 direction mode, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The offset grows by the speed times the clock's step; the rectangle is overwritten.
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
  bool NeedsWrapAddressing() const override { return true; }

  DS_SafePtr<UINTSclaleTo<float>> speed;
  DS_SafePtr<MediaParamTB<int>> direction;
  float offset = 0.0f;
};

// Makes the particle sample the picture below it for the frame.
class ZKW_PtclSysEffect_BgTex : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_BgTex() = default;
  ZKW_PtclSysEffect_BgTex(const ZKW_PtclSysEffect_BgTex&) = default;
  // Version 1: no fields, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
};

// Applies a motion law, without a shape, once to every new particle.
class ZKW_PtclSysEffect_MotionLaw : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_MotionLaw();
  ZKW_PtclSysEffect_MotionLaw(const ZKW_PtclSysEffect_MotionLaw&) = default;
  // Version 1: the law's record (the bare base record for no law), then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // A law of an unknown class leaves no law (and fails the stream).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The law, when there is one, with no shape.
  bool PrepareParticle(ParticleRecord* p) override;
  bool ApplyToParticle(EffectContext*, ParticleRecord*) override { return true; }

  DS_SafePtr<ZKW_PtclSys_MotionLaw> law;
};
