#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_direction_based.h"

// Shifts the whole picture along the direction: steadily forwards (mode 0) or backwards (1), or
// swinging with the wave of that type (2 and up) between the base strength forwards and the
// second strength backwards. The shift fades with the timeline.
class DS_MoveFX : public DS_DirectionBased {
 public:
  static constexpr uint32_t kVersion = 3;

  // Speed 50 (x 0.02), base strength 50 (x 0.0002), effect glimres.dll #91, timeline flag bit 0.
  DS_MoveFX();

  // "DS_MoveFX" version 3: move mode, second strength, then the "DS_DirectionBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds no second strength: it takes the base strength's value and scale. Versions
  // 1 and 2 counted the swings from 0, so their mode is moved up by 3.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The phase step, then the shift for the move mode at the timeline value.
  void Tick(float time) override;
  // "Direction" = the shift, then the common binding over the whole picture.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_MoveFX>(*this);
  }

  MediaParamT<int> moveMode{0};
  // Scaled x 0.0002.
  UINTSclaleTo<float> secondStrength{0, 0.0002f, 0.0f};
  // -(direction) x the signed strength x the timeline value, in picture units.
  float shift[2] = {0.0f, 0.0f};
};
