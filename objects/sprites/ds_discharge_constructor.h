#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_stat_obj_constructor.h"

// A crackling discharge: a still object whose strip frames follow each other in random order,
// never the same frame twice running.
//
// Record "DS_DischargeConstructor" version 1: no field of its own, then the
// "DS_StatObjConstructor" record.
class DS_DischargeConstructor : public DS_StatObjConstructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_DischargeConstructor() = default;
  DS_DischargeConstructor(const DS_DischargeConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A random strip frame other than `frame`; with fewer than two frames there is no other, and
  // `frame` stays (0 without frames).
  unsigned NextFrame(unsigned frame) override;
};
