#pragma once

#include <cstdint>
#include <memory>

#include "core/param/color_params.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_color_hsb.h"
#include "renderers/brush/ds_fx_constructor.h"

// Grades the picture towards night: desaturated, multiplied by a colour and lit in soft light by
// a colour given as hue, saturation and brightness, fading in with the object's timeline.
class DS_DayToNight : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_DayToNight() = default;
  // Every member; the soft-light colour is computed anew from its three numbers, so that the
  // run-time copy draws the colour they give whatever the record stored beside them.
  DS_DayToNight(const DS_DayToNight& other);

  // "DS_DayToNight" version 1: multiply colour, the soft light's hue, saturation and
  // brightness, its colour as four floats, desaturation, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: everything stored straight (the soft-light colour as stored, not recomputed)
  // but the desaturation, which is told when it changes.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGrid(maskSlot); }
  // BindScale, "mul_color", "soft_light_color", "Fade" = sin(timeline value x pi / 2),
  // "Disaturate"; then the quad binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_DayToNight>(*this);
  }

  SmartCOLORREF multiplyColor{0};
  SmartColorHSB softLight;
  UINTSclaleTo<float> desaturation{0, 0.01f, 0.0f};
};
