#pragma once

#include <memory>

#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"

// A fountain: the burst's particles thrown out continuously at an even rate (stored x 0.2 per
// second, 20 by default) that follows the visibility. It restarts like the base control
// (pre-warmed under a continuous timeline). It keeps the burst's count and emitted count unused.
class ZKW_FontainPtclSys : public ZKW_BurstPtclSys {
 public:
  static constexpr uint32_t kVersion = 2;

  ZKW_FontainPtclSys() = default;
  ZKW_FontainPtclSys(const ZKW_FontainPtclSys& other) = default;

  // "ZKW_FontainPtclSys" version 2: UInt32 rate, then the "ZKW_BurstPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 is a flat layout: rate, the burst's motion without count, a gravity pair, then the
  // "ZKW_ParticleSystemCtrl" record; every other version the rate and the burst's record.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Restart() override { ZKW_ParticleSystemCtrl::Restart(); }
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The even counter over the visible time of the step (none while hidden).
  RoutineParticleList Emit(float step) override;

  ZKW_EvenImitter counter;
};
