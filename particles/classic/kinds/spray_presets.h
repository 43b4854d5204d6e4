#pragma once

#include <cstdint>
#include <memory>

#include "particles/classic/kinds/splash_ptcl_sys.h"

// Ready-made sprays. Their own stored values are kept, copied and written but nothing acts on
// them.

// Fog: a slow spray (its spin, flight speed and rate scaled far down) that starts with 8 s
// pre-warmed.
class DS_PtclFog : public ZKW_SprayPtclSys {
 public:
  // The fog's scales: spin 0.0005 (radians a second per stored unit), flight speed 0.01, rate
  // 0.01 particles a second.
  DS_PtclFog();
  DS_PtclFog(const DS_PtclFog& other) = default;

  // "DS_PtclFog" version 1: UInt32, then the "ZKW_SprayPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  float PrewarmTime() const override { return 8.0f; }

  MediaParamT<unsigned> kept{0};
};

// Bokeh lights: the spray as it is.
class DS_BokehLights : public ZKW_SprayPtclSys {
 public:
  DS_BokehLights() = default;
  DS_BokehLights(const DS_BokehLights& other) = default;

  // "DS_BokehLights" version 1: Int32, then the "ZKW_SprayPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  MediaParamT<int> kept{0};
};

// Smoke: the spray as it is.
class DS_PtclSmoke3 : public ZKW_SprayPtclSys {
 public:
  DS_PtclSmoke3() = default;
  DS_PtclSmoke3(const DS_PtclSmoke3& other) = default;

  // "DS_PtclSmoke3" version 1: UInt32, then the "ZKW_SprayPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  MediaParamT<unsigned> kept{0};
};

// Shimmer: the spray as it is; its record has no fields of its own.
class DS_Shimmer : public ZKW_SprayPtclSys {
 public:
  DS_Shimmer() = default;
  DS_Shimmer(const DS_Shimmer& other) = default;

  // "DS_Shimmer" version 1, then the "ZKW_SprayPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
};
