#pragma once

#include <cstdint>
#include <vector>

#include "core/chrono/chrono_wrap.h"
#include "core/ds_safe_ptr.h"
#include "core/graph/graph_spread_prm.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/params/moded_float_params.h"
#include "particles/behaviour/physics/zkw_ptclsys_physics.h"

// Particles of a limited life. A base only: its record is read as part of its kinds'.
class ZKW_PtclSysPhys_LifeLimit : public ZKW_PtclSysPhys_Points {
 public:
  ZKW_PtclSysPhys_LifeLimit() = default;

  // Version 1: the life (graph record, value, spread percent), then the points record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A maximum age of the life's value-and-spread factor with random number 0 times the envelope
  // at 0: a spread shortens every particle's life by the full spread.
  void InitNewParticle(ParticleRecord* particle) override;

  GraphSpreadPrm life{10, 0.1f};  // seconds
};

class ZKW_PtclSysPhys_Source;

// The emission state of one parent particle: a cycle of delay (phase 0), emission (1) and pause
// (2), and the particles accumulated but not yet made.
struct EmissionSlot {
  ParticleHandle parent;
  float count = 0.0f;
  ZKW_PtclSysPhys_Source* source = nullptr;
  float remaining = 0.0f;  // seconds left in the phase
  int phase = 0;
};

// Streams particles from every parent particle: each emission phase makes the modulated
// "Emission" count of particles, spread evenly over the phase. A base only.
class ZKW_PtclSysPhys_Source : public ZKW_PtclSysPhys_LifeLimit {
 public:
  ZKW_PtclSysPhys_Source();
  ZKW_PtclSysPhys_Source(const ZKW_PtclSysPhys_Source&) = delete;

  // Version 4: the emission with its controller, the cycle block (Int32 2, Int32 mode, Float
  // duration, pause, delay), then the life-limit record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 3 and below kept the count as a value-and-spread record (only its value counts) and
  // fewer cycle fields.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Kills the particles and drops every slot.
  void KillAll() override;
  // One slot per parent, starting in its delay; makes no particles.
  ParticleList SpawnForParents(ParticleList* parents) override;
  // Moves the particles, then advances every slot and emits what it accumulated; a slot whose
  // parent is gone or dead goes. Answers the new particles, which join the list.
  ParticleList Update(ParticleList* parents, float step) override;

  // Runs the slot's cycle for dt seconds, adding the emitting share to its count; false when its
  // parent is gone or dead. A cycle of no length adds nothing and ends the step.
  bool AdvanceSlot(EmissionSlot& slot, float dt);
  // Turns the slot's whole accumulated particles into new particles appended to `out` (the list
  // never grows past the live-particle limit; what does not fit is dropped).
  virtual void EmitAccumulated(EmissionSlot& slot, ParticleList& out);

  ChronoWrap<MediaParamT<unsigned>> emission{10u};  // particles per emission phase
  ModedFloatParams cycle;
  std::vector<DS_SafePtr<EmissionSlot>> slots;

 protected:
  // Room left for new particles when `pending` are about to join the list.
  size_t Room(size_t pending) const;
};

// A source whose motion law places and aims every new particle on the physics' shape.
class ZKW_PtclSysPhys_SourceFig : public ZKW_PtclSysPhys_Source {
 public:
  ZKW_PtclSysPhys_SourceFig() = default;

  // Version 2: the law's record, then the source record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 first holds a shape record. A law of an unknown class leaves no law.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The law's answer; without a law, false.
  bool NeedsDepthSort() const override;
  // The life limit, then the law with the physics' shape (which is also the law's centre).
  void InitNewParticle(ParticleRecord* particle) override;

  DS_SafePtr<ZKW_PtclSys_MotionLaw> law{std::unique_ptr<ZKW_PtclSys_MotionLaw>()};
};

// One pass of a lattice over its cells.
struct LatticeSweep {
  float duration = 0.0f;  // seconds
  float elapsed = 0.0f;   // seconds
  ParticleHandle parent;
};

// Emits whole grids of particles on the physics' shape, cell after cell in a sweep: every
// emitted particle of the source starts a sweep instead.
class ZKW_PtclSysPhys_Lattice : public ZKW_PtclSysPhys_Source {
 public:
  ZKW_PtclSysPhys_Lattice();

  // Version 2: UInt32 count A and B, Int32 flip A and B, UInt32 step A and B (hundredths), then
  // the source record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 first holds a shape record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // As the source, and every sweep is dropped.
  void KillAll() override;
  // The source update (which starts sweeps), then every sweep emits the cells whose time has
  // come; a sweep goes when it is over or its parent is gone or dead.
  ParticleList Update(ParticleList* parents, float step) override;
  // Starts a sweep for every whole accumulated particle; a lattice of no cells starts none.
  void EmitAccumulated(EmissionSlot& slot, ParticleList& out) override;
  // Appends the cells whose key time lies in [elapsed, elapsed + step] (both ends included) to
  // `out`, only on a parametric shape.
  void EmitSweep(const LatticeSweep& sweep, float step, ParticleList& out);

  MediaParamT<unsigned> countA{5};  // cells along the second coordinate
  MediaParamT<unsigned> countB{5};  // cells along the first coordinate
  MediaParamT<int> flipA{0};
  MediaParamT<int> flipB{0};
  TimeParam stepA;  // from one cell to the next along A
  TimeParam stepB;  // from one cell to the next along B
  std::vector<DS_SafePtr<LatticeSweep>> sweeps;
};
