#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_line_based.h"

// Tilts the picture in perspective about the line through the centre, to one side, to the other
// or swinging between them, drawn through the grid over the mask quad.
class DS_PerspectiveFX : public DS_LineBased {
 public:
  static constexpr uint32_t kVersion = 3;

  // Speed factor 0.02.
  DS_PerspectiveFX();

  // "DS_PerspectiveFX" version 3: strength A, tilt, swing mode, strength B, then the
  // "DS_LineBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 2 holds no strength B (it keeps its value). Version 1 holds a side code instead of
  // the swing mode: both strengths take A and the sine swing (mode 3) is used; side code 0 then
  // clears B, 1 clears A.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // DS_LineBased::Prepare, the lines for perspective, the grid over the mask quad.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step, then the lines for perspective (they follow the centre and, outside mode 0,
  // the target point).
  void Tick(float time) override;
  // BindLines; the tilt angle v from the strengths (the larger scaled to 1) by swing mode 0
  // (A), 1 (-B) or the wave of that type, x the timeline value; "amplitude" = (|cos v| - 1) x
  // the larger strength, "p_amplitude" = sin v x tilt x the larger strength x 10; the grid
  // binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_PerspectiveFX>(*this);
  }

  // Scaled x 0.002 (500 is 1 radian at full strength).
  UINTSclaleTo<float> strengthA{0, 0.002f, 0.0f};
  UINTSclaleTo<float> strengthB{0, 0.002f, 0.0f};
  // Scaled x 10.
  UINTSclaleTo<float> tilt{0, 10.0f, 0.0f};
  MediaParamT<int> swingMode{0};
};
