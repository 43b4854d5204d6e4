#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"

// An envelope over a particle's life as four percentages scaled by 0.01: the end of the rise,
// the start of the fall (life fractions), the factor at birth and the factor at death. The
// defaults 0, 100, 0, 0 leave a value unchanged over the whole life.
struct PercentParamQuad {
  PercentParamQuad() = default;
  PercentParamQuad(const PercentParamQuad&) = default;
  // Copies the four values, notifying each parameter whose value changes.
  PercentParamQuad& operator=(const PercentParamQuad& other);

  // x at life fraction f: x (f / rise x (1 - start) + start) before the rise ends,
  // x ((1 - f) / (1 - fall) x (1 - end) + end) after the fall starts, else x. The fraction is
  // kept inside 0..1, so that an age past the life's bound (heads of lines, newcomers of a long
  // step) never divides by a fall that starts at 1.
  float Apply(float f, float x) const;

  // Four UInt32 in the order of the fields (the percentages as stored); the read stores and
  // notifies each that differs.
  void Read(DS_IOF_Archive& archive);
  void Write(DS_IOF_Archive& archive) const;

  UINTSclaleTo<float> riseEnd{0, 0.01f, 0.0f};
  UINTSclaleTo<float> fallStart{100, 0.01f, 0.0f};
  UINTSclaleTo<float> startFactor{0, 0.01f, 0.0f};
  UINTSclaleTo<float> endFactor{0, 0.01f, 0.0f};
};
