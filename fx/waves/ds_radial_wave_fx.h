#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// Circular waves running out of (or into) the centre over the whole picture.
class DS_RadialWaveFX : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 3;

  // Speed 50, effect glimres.dll #103, timeline flag bit 0.
  DS_RadialWaveFX();

  // "DS_RadialWaveFX" version 3: amplitude, wavelength, ring stretch, time sign flag, then the
  // "DS_CentralBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 2 and 3 hold the four fields; version 1 none (the defaults stay).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // "bg_scale_factor" (round rings on a picture of any aspect), "center" as a fraction of the
  // scene, "frequency", "amplitude" (fading with the timeline), "time" = -phase x 0.08 (rings
  // running out; inwards with the time sign flag), then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_RadialWaveFX>(*this);
  }

  // Scaled x 0.00025: 0.0125 by default.
  UINTSclaleTo<float> amplitude{50, 0.00025f, 0.0f};
  // Scaled x 0.0001 + 0.001: 0.006 by default, never 0.
  UINTSclaleTo<float> wavelength{50, 0.0001f, 0.001f};
  // Scaled + 25: 75 by default (round rings), never below 25.
  UINTSclaleTo<float> ringStretch{50, 1.0f, 25.0f};
  MediaParamT<int> timeSignFlag{0};
};
