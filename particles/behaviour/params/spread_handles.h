#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/value_spread_prm.h"

// A value-and-spread pair over angles: base angle and half-width of the range, both stored in
// degrees and scaled to radians.
struct AngleSpreadPrm : ValueSpreadPrm {
  AngleSpreadPrm() {
    value.SetScale(kRadiansPerDegree, 0.0f);
    spread.SetScale(kRadiansPerDegree, 0.0f);
  }

  // The angle of a particle whose own random number is r in [0, 1]: uniform in
  // [base - spread, base + spread], in radians.
  float Angle(float r) const { return value.Scaled() + spread.Scaled() * (2.0f * r - 1.0f); }

  static constexpr float kRadiansPerDegree = 0.017453292f;
};

// UInt32 value and UInt32 spread into the shared parameter, each stored and notified only when
// it differs; an empty handle first gets a new default parameter. Every owner sharing the
// handle sees the new values.
void ReadValueSpreadPrm(DS_IOF_Archive& archive, DS_SafePtr<ValueSpreadPrm>& param);
// The same for an angle range (degrees).
void ReadAngleSpreadPrm(DS_IOF_Archive& archive, DS_SafePtr<AngleSpreadPrm>& param);
