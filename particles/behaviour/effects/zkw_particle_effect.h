#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_speed_param.h"
#include "core/param/smart_vector.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/particle/particle_record.h"

// What an effect sees when it changes a particle: a clock of speed 1 whose step is the frame's
// clamped step, and the shape of the emitter node's parent node (or null).
struct EffectContext {
  MediaSpeedParam clock;
  const ZKW_VGeom2D* sourceShape = nullptr;
};

// A particle-system effect: an archived object of a node's effect list that changes every
// particle of the node once per frame. Effects hold parameters; each particle runs its own clone
// (which draws its own random numbers). Linked named objects do not exist here: the record's link
// name is read and dropped, and written empty.
class ZKW_ParticlSystem_Effect : public ZKW_IOF_Item {
 public:
  // The base part: "ZKW_ParticlSystem_Effect" version 3, the name, an empty link name and the
  // clock flag (one byte). Kinds write their own fields first.
  bool Save(DS_IOF_Archive& archive) const override;
  // The base body after its header: the name; version 2 and later the link name (dropped);
  // version 3 and later the clock flag.
  bool ReadFields(DS_IOF_Archive& archive, uint32_t version);

  // Called once on a fresh clone for its particle.
  virtual bool PrepareParticle(ParticleRecord*) { return true; }
  virtual bool ApplyToParticle(EffectContext* context, ParticleRecord* particle) = 0;
  // A new per-particle copy.
  virtual std::unique_ptr<ZKW_ParticlSystem_Effect> Clone() const = 0;
  virtual bool NeedsWrapAddressing() const { return false; }

  zkw_string name;
  bool useClockTime = false;  // angle kinds: the clock's local time instead of the life fraction

 protected:
  ZKW_ParticlSystem_Effect() = default;
  ZKW_ParticlSystem_Effect(const ZKW_ParticlSystem_Effect&) = default;
  ZKW_ParticlSystem_Effect& operator=(const ZKW_ParticlSystem_Effect&) = delete;
};

// Every effect the system makes: the kind X with a transform face, through which picture nodes
// and the exploding picture attach their own rotation or spin to a particle. The face runs the
// kind with a fresh context (local time 0, no source shape) on every call.
template <class X>
class ZKW_PtclSysEffect final : public X, public ZKW_PtclTransform {
 public:
  ZKW_PtclSysEffect() = default;
  // X's copy draws the clone's own random numbers.
  ZKW_PtclSysEffect(const ZKW_PtclSysEffect& other) : X(other), ZKW_PtclTransform() {}

  std::unique_ptr<ZKW_ParticlSystem_Effect> Clone() const override {
    return std::make_unique<ZKW_PtclSysEffect>(*this);
  }
  bool Apply(float, ParticleRecord* particle) override {
    // Effects only read their context: one per thread, set back to a fresh clock for each call,
    // spares making its parameters for every particle and frame.
    thread_local EffectContext context;
    context.clock.step = 0.0f;
    context.clock.localTime = 0.0f;
    context.sourceShape = nullptr;
    return X::ApplyToParticle(&context, particle);
  }
};

using EffectList = ZKW_SmartVectorPtr<ZKW_ParticlSystem_Effect>;

// The transform through which a particle runs its node's effects: it clones every effect of the
// node for the particle at Restart and runs the clones on its own clock of speed 1.
class PtclTr_EffectsVector : public ZKW_PtclTransform {
 public:
  PtclTr_EffectsVector(const EffectList* effects, const ZKW_VGeom2D* sourceShape)
      : effects_(effects) {
    context_.sourceShape = sourceShape;
  }

  // Drops the clones and makes a prepared clone of every effect of the node (empty entries
  // are skipped); the clock keeps its time.
  void Restart(ParticleRecord* particle) override;
  // The clock steps by min(dt, 0.2) (nothing for a dt that is not positive); every clone runs.
  bool Apply(float dt, ParticleRecord* particle) override;

  const EffectContext& Context() const { return context_; }
  const std::vector<std::unique_ptr<ZKW_ParticlSystem_Effect>>& Clones() const { return clones_; }

 private:
  std::vector<std::unique_ptr<ZKW_ParticlSystem_Effect>> clones_;
  const EffectList* effects_;
  EffectContext context_;
};
