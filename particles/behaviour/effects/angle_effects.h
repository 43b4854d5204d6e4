#pragma once

#include "core/ds_safe_ptr.h"
#include "core/graph/zkw_custom_graph.h"
#include "core/param/media_param_t.h"
#include "core/param/value_spread_prm.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/params/rotation_direction_prm.h"
#include "particles/behaviour/params/spread_handles.h"
#include "platform/math/d3dx_types.h"

// Effects that turn particles about the view axis: rotation matrix A = A x a rotation about Z.
// Clones share their parameter holders and draw their own random numbers.

// Turns towards the direction of motion (mode 1) or mirrors particles moving towards -x (mode 2)
// or +y (mode 3).
class ZKW_OrientationInMotion : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_OrientationInMotion();
  ZKW_OrientationInMotion(const ZKW_OrientationInMotion&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<MediaParamT<int>> mode;
};

// Turns towards the normal of the emitting node's parent shape, when there is one.
class ZKW_PtclSysEffect_AlignToSource : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_AlignToSource() = default;
  ZKW_PtclSysEffect_AlignToSource(const ZKW_PtclSysEffect_AlignToSource&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
};

// A fixed random angle per particle, uniform in [base - spread, base + spread] (negated). Held by
// picture nodes; it has a record but no reader.
class ZKW_PtclSysEffect_Rotation : public ZKW_ParticlSystem_Effect {
 public:
  ZKW_PtclSysEffect_Rotation();
  ZKW_PtclSysEffect_Rotation(const ZKW_PtclSysEffect_Rotation& other);
  bool Save(DS_IOF_Archive& archive) const override;
  // The angles, then the base header and fields.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;

  DS_SafePtr<AngleSpreadPrm> angles;
  float r;
};

// The angle kinds: A = A x GetRotation(t), t the clock's local time when useClockTime is set,
// else the particle's life fraction.
class ZKW_PtclSysEffect_Angle : public ZKW_ParticlSystem_Effect {
 public:
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
  virtual D3DXMATRIX* GetRotation(D3DXMATRIX* out, float t) const = 0;

 protected:
  ZKW_PtclSysEffect_Angle() = default;
  ZKW_PtclSysEffect_Angle(const ZKW_PtclSysEffect_Angle&) = default;
  // "ZKW_PtclSysEffect_Angle" version 1, then the base record.
  void SaveAngle(DS_IOF_Archive& archive) const;
  // The Angle header (ignored), then the base header and fields.
  void ReadAngle(DS_IOF_Archive& archive);
};

// A fixed random angle, as the rotation.
class ZKW_PtclSysEffect_AngleBase : public ZKW_PtclSysEffect_Angle {
 public:
  ZKW_PtclSysEffect_AngleBase();
  ZKW_PtclSysEffect_AngleBase(const ZKW_PtclSysEffect_AngleBase& other);
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  D3DXMATRIX* GetRotation(D3DXMATRIX* out, float t) const override;

  DS_SafePtr<AngleSpreadPrm> angles;
  float r;
};

// An angle that follows an envelope of time: one envelope unit is a full turn.
class ZKW_PtclSysEffect_AngleDyn : public ZKW_PtclSysEffect_Angle {
 public:
  ZKW_PtclSysEffect_AngleDyn() = default;
  ZKW_PtclSysEffect_AngleDyn(const ZKW_PtclSysEffect_AngleDyn&) = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  D3DXMATRIX* GetRotation(D3DXMATRIX* out, float t) const override;

  ZKW_CustomGraph envelope;
  RotationDirectionPrm direction;
};

// An angle growing with time: the speed (degrees per second on the clock, or the whole turn over
// the life) with the clone's spread.
class ZKW_PtclSysEffect_Spin : public ZKW_PtclSysEffect_Angle {
 public:
  ZKW_PtclSysEffect_Spin();
  ZKW_PtclSysEffect_Spin(const ZKW_PtclSysEffect_Spin& other);
  // "ZKW_PtclSysEffect_Spin" version 1: speed value and spread percent, direction mode.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  D3DXMATRIX* GetRotation(D3DXMATRIX* out, float t) const override;

  DS_SafePtr<ValueSpreadPrm> speed;
  float r;
  RotationDirectionPrm direction;
};

// The spin of exploding pieces: on their age in seconds, whatever the clock flag says. Stored as
// a spin; no reader.
class ZKW_PtclSysEffect_Spiner : public ZKW_PtclSysEffect_Spin {
 public:
  ZKW_PtclSysEffect_Spiner() = default;
  ZKW_PtclSysEffect_Spiner(const ZKW_PtclSysEffect_Spiner&) = default;
  bool ApplyToParticle(EffectContext* context, ParticleRecord* p) override;
};
