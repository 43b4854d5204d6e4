#pragma once

#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "core/param/value_spread_prm.h"
#include "particles/behaviour/effects/angle_effects.h"
#include "particles/behaviour/physics/point_groups.h"

// A range of seconds stored as two hundredths: minimum and maximum.
struct TimeRange : ZKW_JitterParam {
  TimeRange() {
    value.SetScale(0.01f, 0.0f);
    jitter.SetScale(0.01f, 0.0f);
    value.SetValue(100);
    jitter.SetValue(100);
  }
  // min + rand()/32767 x (max - min).
  float Draw() const;
};

// A whole picture per parent that bursts, after a phase drawn from `wholeTime`, into pieces that
// fly, spin and die on their own timers, and comes back whole after a phase drawn from
// `explodedTime`.
class ZKW_PtclSysPhys_ExplodingPic : public ZKW_PtclSysPhys_ConstPntGroup {
 public:
  ZKW_PtclSysPhys_ExplodingPic();

  // Version 1: the two time ranges, the piece count, scale, life and speed, the spin effect,
  // then the point group record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Kills every particle and starts a fresh whole phase.
  void KillAll() override;
  // Moves the particles; at the end of a phase the other begins: a burst kills the whole
  // pictures and answers the pieces, the return answers new whole pictures.
  ParticleList Update(ParticleList* parents, float step) override;

  TimeRange wholeTime, explodedTime;
  MediaParamT<unsigned> pieceCount{100};
  ValueSpreadPrm pieceScale{8, 0.01f};
  ValueSpreadPrm pieceLife{50, 0.01f};
  ValueSpreadPrm pieceSpeed{60, 10.0f};
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spiner> spin;
  int exploded = 0;
  float phaseLength = 0.0f;
  float phaseTime = 0.0f;

 private:
  ParticleList Burst(const ParticleList& parents);
  void SetUpPiece(ParticleRecord* piece);
};
