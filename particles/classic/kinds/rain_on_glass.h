#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"
#include "particles/classic/routines/interaction_routines.h"

// Drops landing on a pane, sliding down it, merging when they touch and vanishing when they
// leave it. Drops are born at random points of the pane at a steady rate (the visibility does
// not change it); a drop draws one of four pictures of a 2 x 2 atlas (one sliding, three still)
// at its own size and opacity.
class DS_RainOnGlass : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr float kLandingTime = 0.15f;
  // The merge pass compares at most this many pairs of drops a step: a pane crowded with drops
  // in one row would otherwise compare every drop with every other.
  static constexpr uint64_t kMaxMergeTests = uint64_t{1} << 20;

  DS_RainOnGlass() = default;
  // Shares the interaction until its own attach replaces it.
  DS_RainOnGlass(const DS_RainOnGlass& other) = default;
  ~DS_RainOnGlass() override;

  // "DS_RainOnGlass" version 1: UInt32 rate, the pane's 12 Float, UInt32 slide force, UInt32
  // flow direction, then the "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Size and opacity from the drops' own values, the base's attach, one batch, and a new
  // interaction that kills a drop once it has left the pane.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // Every drop steps once more, the drops are sorted by their tops and touching drops merge,
  // then the newcomers of the step are appended; nothing is returned to pre-advance.
  RoutineParticleList Emit(float step) override;
  float PrewarmTime() const override { return 15.0f; }

  // Sorts the drops by their tops and lets each merge into the first touching drop below it.
  void MergeTouchingDrops();
  // Dresses a new drop: its picture, landing, sliding, motion, colour and the interaction.
  void InitDrop(const DS_SafePtr<RoutineParticle>& drop);
  // The flow as a scene vector: (cos d, -sin d, 0) for the flow direction d.
  D3DXVECTOR3 FlowVector() const;

  ZKW_RectImitter pane;
  ZKW_EvenImitter counter;
  UINTSclaleTo<float> slideForce{0, 1.0f, 0.0f};  // units a second squared
  MediaDirection flow;
  // The IPR_RainInteractionRoutine every drop shares (null until attach).
  DS_SafePtr<InnerParticleRoutine> interaction;
};
