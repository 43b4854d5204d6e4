#pragma once

#include <limits>

#include "core/param/scaled_param.h"

// A speed factor (stored 1, factor 1, offset 0; owners often re-scale it, e.g. a percent with
// 0.01) with a small clock of its own driven by that speed. The clock fields are the owner's:
// owners advance and reset them directly. Copies take the clock along.
class MediaSpeedParam : public UINTSclaleTo<float> {
 public:
  MediaSpeedParam() : UINTSclaleTo<float>(1, 1.0f, 0.0f) {}

  // One clock step at absolute time t in seconds: step = scaled speed x the clock step of
  // ClockStep (0 on the first call and after time went backwards, at most 0.2 s); local time
  // grows by the step.
  void Advance(double t);

  float step = 0.0f;
  float localTime = 0.0f;
  double lastTime = std::numeric_limits<double>::infinity();
};
