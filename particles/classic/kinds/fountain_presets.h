#pragma once

#include <memory>

#include "particles/classic/kinds/fontain_ptcl_sys.h"

// Ready-made fountains. Their own stored values, other than the smoke's wind, are kept, copied
// and written but nothing acts on them.

// Fire: the flame accelerates along its emission direction by the appearance's gravity.
class DS_PtclFire : public ZKW_FontainPtclSys {
 public:
  DS_PtclFire() = default;
  DS_PtclFire(const DS_PtclFire& other) = default;

  // "DS_PtclFire" version 1: Int32, three UInt32, then the "ZKW_FontainPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle) override;

  int32_t keptInt = 0;
  MediaParamT<unsigned> kept1{0}, kept2{0}, kept3{0};
};

// A stream of fire: the fountain as it is.
class DS_PtclFireStream : public ZKW_FontainPtclSys {
 public:
  DS_PtclFireStream() = default;
  DS_PtclFireStream(const DS_PtclFireStream& other) = default;

  // "DS_PtclFireStream" version 1: UInt32, then the "ZKW_FontainPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  MediaParamT<unsigned> kept{0};
};

// Smoke in a wind along x (stored x 10 - 500 scene units per second) that pulls each particle
// with the appearance's air resistance; it never falls or rises with gravity.
class DS_PtclSmoke : public ZKW_FontainPtclSys {
 public:
  DS_PtclSmoke() = default;
  DS_PtclSmoke(const DS_PtclSmoke& other) = default;

  // "DS_PtclSmoke" version 1: UInt32, UInt32 wind, then the "ZKW_FontainPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The wind first in the particle's routines, gravity turned off on the appearance for good,
  // then the burst set-up.
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle) override;

  MediaParamT<unsigned> kept{0};
  UINTSclaleTo<float> wind{0, 10.0f, -500.0f};
};

// A water jet: the fountain as it is; its record has no fields of its own.
class DS_WaterJet : public ZKW_FontainPtclSys {
 public:
  DS_WaterJet() = default;
  DS_WaterJet(const DS_WaterJet& other) = default;

  // "DS_WaterJet" version 0, then the "ZKW_FontainPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
};

// Light beams: the fountain as it is.
class DS_LightBeams : public ZKW_FontainPtclSys {
 public:
  DS_LightBeams() = default;
  DS_LightBeams(const DS_LightBeams& other) = default;

  // "DS_LightBeams" version 1, then the "ZKW_FontainPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
};
