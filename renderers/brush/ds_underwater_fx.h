#pragma once

#include <cstdint>
#include <memory>

#include "core/param/scaled_param.h"
#include "renderers/brush/ds_fx_constructor.h"

// The underwater brush: the whole picture rippled by a two-axis wave of a given size and
// amplitude that travels with the brush's phase. It lives only inside the underwater renderer,
// which reads, prepares, ticks and draws it.
class DS_UnderwaterFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 25, effect glimres.dll #88.
  DS_UnderwaterFX();

  // "DS_UnderwaterFX" version 1: amplitude, wave size, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body of version 1 (its header read by the caller).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_UnderwaterFX>(*this);
  }

  // "frequency" = (aspect, 1) / wave size, "amplitude", "time" = phase x 0.08, then the common
  // binding over the whole picture.
  void Draw(DS_2D_Light& canvas) override;

  // A fraction of the picture height: 0.00625 by default.
  UINTSclaleTo<float> amplitude{50, 0.000125f, 0.0f};
  // The wave length as a fraction of the picture height: 0.101 by default, never below 0.001.
  UINTSclaleTo<float> waveSize{50, 0.002f, 0.001f};
};
