#pragma once

#include <cstdint>
#include <memory>

#include "core/list_limits.h"
#include "core/param/callback_ctrl_set.h"
#include "core/param/media_speed_param.h"
#include "core/scene/ds_abobj_constructor.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/routines/routine_particle.h"

class DS_2D_Light;
class ZKW_ParticleSystemMech;

// The saved description shared by every classic particle-system object (bursts, fountains,
// lines, paths, fields, sprays, ...). It keeps the particle look (the appearance), a speed that
// drives its own clock and the live particles. Each kind decides in Emit which particles are born
// in a step; this base runs the frame: clock, the particles' routines, emission, the newcomers'
// pre-advance, one quad per particle into the run-time object's batch, and the draw.
//
// At slide start CreateRuntimeObject clones the description and attaches the clone to a new
// ZKW_ParticleSystemMech, which owns it; all simulation state lives in the clone.
class ZKW_ParticleSystemCtrl : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 5;
  // The longest pre-warm: at 0.1 s a step, more than a day of simulation, so that even a path
  // whose particles crawl at 1 unit a second along a hundred thousand units warms whole.
  static constexpr int kMaxPrewarmSteps = 1'000'000;
  // The most particle updates a pre-warm makes (the live particles summed over its steps): 256
  // full lists, so that every system of a fixed pre-warm time (at most 15 s, 150 steps) warms
  // whole even at the list's limit. Only pre-warms of many minutes over lists that grow large
  // stop early.
  static constexpr uint64_t kMaxPrewarmParticleSteps = uint64_t{256} * kMaxParticlesPerList;
  static constexpr float kPrewarmStep = 0.1f;

  ZKW_ParticleSystemCtrl();
  // Shares the particles, copies the mech pointer; the copy's callback set is its own and empty.
  ZKW_ParticleSystemCtrl(const ZKW_ParticleSystemCtrl& other);
  ~ZKW_ParticleSystemCtrl() override;

  // "ZKW_ParticleSystemCtrl" version 5: Int32 11, the shape name, the appearance, UInt32 speed,
  // then the "DS_ABObj_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version; below 5 the older layout is converted (see the .cpp). Answers the
  // DS_ABObj_Constructor part's answer.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A continuous timeline pre-warms the system (PrewarmTime in steps of 0.1 s, at most
  // kMaxPrewarmSteps steps and kMaxPrewarmParticleSteps particle updates; an endless time warms
  // nothing); any other starts empty.
  void Restart() override;
  int GetObjectKind() const override { return kParticleSystemKind; }
  // Clone, a mech owning the clone, the clone attached and restarted.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // 1 while the screen glow reads the picture below, else 0.
  virtual int NeedsTarget() const;
  // Binds the clone to its run-time object: textures, effect, and a watch on the picture that
  // reloads them. Kinds call this, then make their batches.
  virtual void AttachRuntimeObject(ZKW_ParticleSystemMech* mech);
  // The frame at slide time t: clock, appearance clocks, Advance, FillBatch into batch 0.
  virtual void Update(float t);
  // The screen glow's switch of the target (without clearing), then the appearance's draw of
  // batch 0.
  virtual void Render(DS_2D_Light& renderer, int* readerCount);
  virtual bool TestOption() const { return false; }
  virtual std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const = 0;
  // The particles born in the step, already appended to `particles` (the same handles).
  virtual RoutineParticleList Emit(float step) = 0;
  virtual float PrewarmTime() const { return 5.0f; }
  // One step of the pre-warm: Advance. Answers the particle updates the step makes (the live
  // particles before it), which the pre-warm's bound counts.
  virtual uint64_t WarmStep(float step);

  // One simulation step: every particle's routines (the dead dropped), then Emit, and the i-th
  // of n newcomers runs i x step / n ahead.
  void Advance(float step);
  // The newcomers that still fit into the list (at most kMaxParticlesPerList live particles).
  int RoomFor(int wanted) const;
  // The picture changed: textures again, and every particle a new atlas cell.
  void OnPictureChanged();
  // The base's attach, then `batches` batches with a quad count of 0 each (what most kinds'
  // attach does).
  void AttachWithBatches(ZKW_ParticleSystemMech* mech, size_t batches);

  // The timeline's value as it stands, also while it is hidden (a timeline just made or reset
  // keeps its value until it steps); 1 without a timeline.
  float Visibility() const;
  // The share of a burst of `count` particles due now: a hidden timeline starts a new visible
  // phase (`emitted` back to 0); then count x the visibility less what the phase has emitted,
  // truncated, as many as fit into the list. What is due is added to `emitted`.
  int DueInVisiblePhase(unsigned count, int32_t& emitted) const;

  ParticleAppearance appearance;
  // Percent, factor 0.01; its clock is the control's simulation clock.
  MediaSpeedParam speed;
  RoutineParticleList particles;
  ZKW_ParticleSystemMech* mech = nullptr;  // not owned; null in a description
  CallbackCtrlSet<ZKW_ParticleSystemCtrl> callbacks;
};

// The life of a particle that flies `distance` at `speed`: their ratio, endless at no speed, and
// none (0) for no distance at no speed rather than a NaN.
float FlightTime(float distance, float speed);

// The shape name that a legacy shape index names; null for an index outside 0..5.
const char16_t* LegacyShapeName(int32_t index);
