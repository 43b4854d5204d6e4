#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// Turns the picture about the centre, on a circle or on an ellipse of a given ratio and tilt,
// with the phase or, timeline-driven, with the object's fade.
class DS_RotationFX : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 2;

  // Speed factor 0.005, timeline flag bit 0, time mode 2 (local time runs with the timeline).
  DS_RotationFX();

  // "DS_RotationFX" version 2: ellipse ratio, ellipse tilt, reverse flag, timeline-driven flag,
  // angle offset, then the "DS_CentralBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds no timeline-driven flag and angle offset: the defaults stay.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The phase step, then turn = (phase + angle offset), or timeline-driven the timeline value x
  // the angle offset; negated by the reverse flag.
  void Tick(float time) override;
  // "coord_transf" (the turn on the tilted ellipse, its 2 x 2 part), "offset" = -(the centre as
  // a fraction of the target), "mix_color" (its alpha the timeline value in time mode 1), then
  // the common binding. An ellipse ratio of 0 is taken as 1, a circle.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_RotationFX>(*this);
  }

  // Scaled x 0.001: 1000 is a circle.
  UINTSclaleTo<float> ellipseRatio{0, 0.001f, 0.0f};
  // Degrees.
  MediaParamT<unsigned> ellipseTilt{0};
  MediaParamT<int> reverseFlag{0};
  MediaParamT<int> timelineDriven{0};
  // Degrees, scaled to radians.
  UINTSclaleTo<float> angleOffset{0, 0.017453292f, 0.0f};
  // Radians, from Tick.
  float turn = 0.0f;
};
