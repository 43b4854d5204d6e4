#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// Expands or contracts the picture about the centre, steadily or swinging between the two.
class DS_ExpandFX : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 2;

  // Speed 50 x 0.02, effect glimres.dll #102, timeline flag bit 0.
  DS_ExpandFX();

  // "DS_ExpandFX" version 2: expansion, contraction, swing mode, then the "DS_CentralBased"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // A version-1 swing mode is 2 lower than now: it is raised by 2.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The phase step, then amount = (swing mode 0: expansion, 1: -contraction, else the wave of
  // that type swinging between them) x the timeline value.
  void Tick(float time) override;
  // BindCenter, "amplitude" = (amount, 0) to expand or (0, -amount) to contract, then the common
  // binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_ExpandFX>(*this);
  }

  UINTSclaleTo<float> expansion{50, 0.005f, 0.0f};
  UINTSclaleTo<float> contraction{0, 0.005f, 0.0f};
  MediaParamT<int> swingMode{0};
  float amount = 0.0f;
};
