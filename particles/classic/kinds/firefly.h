#pragma once

#include <cstdint>
#include <memory>

#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/particle_tracer.h"

// Wandering fireflies that leave trails: a Brownian control whose tracer emits short-lived
// traces around every firefly, drawn beneath the fireflies (traces in batch 0, fireflies in
// batch 1), each with its own look.
class ZKW_Firefly : public ZKW_BrownAnimation {
 public:
  static constexpr uint32_t kVersion = 2;

  ZKW_Firefly() = default;
  ZKW_Firefly(const ZKW_Firefly& other) = default;
  ~ZKW_Firefly() override;

  // "ZKW_Firefly" version 2: the tracer, then the "ZKW_BrownAnimation" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 kept both pictures in the control's picture: its first link was the traces', its
  // second the fireflies' (and the traces took the control's colours and effect). A record whose
  // picture has fewer than two links keeps its pictures as they are.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // One reader of the picture below for each look in screen glow.
  int NeedsTarget() const override;
  // The base control's attach, the tracer look's textures and effect, two batches, the region
  // fitted (keep-GUID clear) and the count of fireflies made.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The traces (batch 0), then the fireflies (batch 1), each look switching the target first
  // when it is in screen glow.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  ZKW_ParticleTracer tracer;

 protected:
  // The fireflies into batch 1 through the control's look, the tracer's step, the traces into
  // batch 0 through the tracer's look (which is never ticked).
  void FillBatches() override;
};
