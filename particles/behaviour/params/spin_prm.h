#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/value_spread_prm.h"

// How a particle of a source turns: its direction, speed, mode and angle.
struct SpinPrm {
  SpinPrm() { angle.spread.SetScale(1.0f, 0.0f); }

  MediaParamT<int> direction{0};    // 0 one way (+1), 1 the other (-1), 2 and above at random
  ValueSpreadPrm speed{50, 0.05f};  // radians per second (2.5), spread in percent
  MediaParamT<int> mode{0};         // 0 a fixed angle, 1 turned to the motion, 2 spinning
  ValueSpreadPrm angle;             // base angle and angle spread, both in degrees
};

// Int32 version (ignored), Int32 direction, UInt32 speed, UInt32 speed spread, Int32 mode,
// UInt32 base angle, UInt32 angle spread. Ints are stored straight; each UInt32 is stored and
// notified only when it differs.
void ReadSpinPrm(DS_IOF_Archive& archive, SpinPrm& param);
// The same with version 1.
void WriteSpinPrm(DS_IOF_Archive& archive, const SpinPrm& param);
