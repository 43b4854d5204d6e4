#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "renderers/brush/ds_fx_constructor.h"

// Turns the hue of the picture and scales its saturation and value: the hue swings, turns or
// flashes by its hue mode, and everything fades with the object's timeline.
class DS_ColorShiftFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 50 x 0.02.
  DS_ColorShiftFX();

  // "DS_ColorShiftFX" version 1: hue mode, hue swing, hue shift, saturation shift, value shift,
  // then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the hue mode stored straight, the four shifts told when they change.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The hue and the two factors from the phase of the frame before, then the phase step:
  // hue mode 0 holds the hue at the hue shift, 1 flashes the shifts on while the whole phase is
  // odd, 5 turns steadily, any other swings by the wave of that type.
  void Tick(float time) override;
  // "color_shift" = the hue in turns, "val_shift" and "sat_shift" = (f, 0) for a factor f below
  // 1 (scaling towards 0), else (2 - f, f - 1) (towards 1); then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_ColorShiftFX>(*this);
  }

  MediaParamT<int> hueMode{2};
  // Turns.
  UINTSclaleTo<float> hueSwing{50, 0.005f, 0.0f};
  UINTSclaleTo<float> hueShift{0, 0.01f, 0.0f};
  // -1 to 1 for stored 0 to 200.
  UINTSclaleTo<float> saturationShift{100, 0.01f, -1.0f};
  UINTSclaleTo<float> valueShift{100, 0.01f, -1.0f};
  // From Tick; 0 until the first.
  float hue = 0.0f;
  float saturationFactor = 0.0f;
  float valueFactor = 0.0f;
};
