#pragma once

#include <cstdint>

#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "core/param/media_param_tb.h"
#include "geometry/figure/zkw_custom_figure.h"
#include "particles/behaviour/sources/zkw_ptclsys_geometry.h"

// What every timed-stream source shares: each parent particle runs its own schedule from its
// age (nothing before `delay`, then `count` particles evenly spaced over `duration`, then
// `pause`, repeating), and each new particle lives `lifetime` seconds at `speed`.
class ZKW_PSGeometry_Emitter : public ZKW_PtclSys_Geometry {
 public:
  ZKW_PSGeometry_Emitter();

  // "ZKW_PSGeometry_Emitter" version 2: lifetime, count, duration, pause, delay, speed and its
  // spread, attached, the figure's record, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;

  // How many particles a parent of age t releases during (t, t + dt]. A window or a count of 0
  // (or a period that is not positive) releases none.
  int EmitCount(float dt, float t) const;
  // The speed of a new particle: one draw against the spread.
  float DrawSpeed() const;

  MediaParamTB<float> lifetime{2.0f};
  MediaParamT<unsigned> count{5};
  MediaParamTB<float> duration{1.0f};
  MediaParamTB<float> pause{0.0f};
  MediaParamTB<float> delay{0.0f};
  ZKW_JitterParam speed;
  MediaParamT<int> attached{0};
  ZKW_CustomFigure figure;

 protected:
  // The shared start of the stream kinds: `EmitCount` new particles for the parent (at most as
  // many as keep `particles` under the ceiling), each living `lifetime`, placed at the parent's
  // anchor plus `position` (at `position` in the parent's space when attached) and given the
  // standard transforms. They are not yet appended to `particles`.
  ParticleList EmitCore(float dt, ParticleHandle* parent);
  // The particles' scale and alpha multipliers: the envelopes at the parent's life fraction.
  void AddEnvelopeMultipliers(ParticleRecord& particle, const ParticleRecord* parent) const;
  // How many of `wanted` new particles fit under the particle ceiling.
  int FitCount(int wanted) const;
  // Appends the new particles to `particles` and hands them back.
  ParticleList Keep(ParticleList made);
};

// The emitter part of a record: its name and version (from version 2 on the figure, installed
// when its class is known), then the base part.
void ReadEmitterPart(DS_IOF_Archive& archive, ZKW_PSGeometry_Emitter& emitter);

// Where a parent's children start when they are not attached: the parent's position (in world
// space when it is relative to a grandparent) moved by its along and across offsets along its
// direction and its normal; z stays the position's.
D3DXVECTOR3 ParentAnchor(const ParticleRecord& parent);
