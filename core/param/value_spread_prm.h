#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"

// A per-particle quantity: its value and how far a particle may fall below it. The value is
// scaled x 1 + 0 unless the owner re-scales it; the spread is a percent p scaled to
// s = 1 - p / 100 (not limited, so p above 100 gives a negative s).
struct ValueSpreadPrm {
  ValueSpreadPrm() = default;
  // The value with its default and factor (offset 0); the spread at 0 %.
  ValueSpreadPrm(unsigned valueDefault, float valueFactor) : value(valueDefault, valueFactor, 0) {}

  // The quantity of a particle whose own random number is r in [0, 1]: v x (s + r x (1 - s)),
  // the full value at r = 1, lowered by up to the spread at r = 0, never raised.
  float Factor(float r) const {
    const float s = spread.Scaled();
    return value.Scaled() * (s + r * (1.0f - s));
  }

  UINTSclaleTo<float> value;
  UINTSclaleTo<float> spread{0, -0.01f, 1.0f};
};

// UInt32 value, then UInt32 spread percent; each stored and notified only when it differs.
void ReadValueSpread(DS_IOF_Archive& archive, ValueSpreadPrm& param);
void WriteValueSpread(DS_IOF_Archive& archive, const ValueSpreadPrm& param);
