#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "renderers/brush/ds_fx_constructor.h"

// Brightens the picture by a pulsing multiplier: a smooth pulse, on and off, or a noise flicker.
class DS_LightFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 40 (x 1), effect glimres.dll #76, timeline flag bit 0, tag 1.
  DS_LightFX();

  // "DS_LightFX" version 1: strength, pulse mode, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the strength told when it changes, the pulse mode stored straight.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // "multiplier" = strength x the pulse x the timeline value: the pulse is (sin(phase x 0.2) +
  // 1) / 2 for pulse modes up to 1 (mode 1 switching it to 1 above a half and 0 below), value
  // noise for 2 and more; then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_LightFX>(*this);
  }

  UINTSclaleTo<float> strength{40, 0.01f, 0.0f};
  MediaParamT<int> pulseMode{0};
};

// The pulses of the light brushes at `phase`, 0 to 1: the smooth pulse (sin(phase x 0.2) + 1) /
// 2, the same switched on above a half, and a value-noise flicker.
float SmoothPulse(float phase);
float OnOffPulse(float phase);
float NoisePulse(float phase);
