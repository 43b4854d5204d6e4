#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_line_based.h"

// Stretches (or squeezes) the picture across the line through the centre, steadily or swinging
// between the two, drawn through the grid over the mask quad.
class DS_StretchFX : public DS_LineBased {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed factor 0.05.
  DS_StretchFX();

  // "DS_StretchFX" version 1: swing mode, strengths A and B, then the "DS_LineBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // DS_LineBased::Prepare, the grid over the mask quad.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step; amount = (swing mode 0: -B, 1: +A, else the wave of that type swinging
  // between A and -B) x the timeline value; then the lines.
  void Tick(float time) override;
  // BindLines, "amplitude" = amount, the grid binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_StretchFX>(*this);
  }

  MediaParamT<int> swingMode{0};
  // Scaled x 0.01.
  UINTSclaleTo<float> strengthA{0, 0.01f, 0.0f};
  UINTSclaleTo<float> strengthB{0, 0.01f, 0.0f};
  float amount = 0.0f;
};
