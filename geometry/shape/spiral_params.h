#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"

// The parameters of a spiral's arms. Copying copies the values with fresh observers.
struct SpiralParams {
  SpiralParams() { armSpan.SetValue(45); }

  // The sign the turn gives the twist: 2 x turn - 1, so 0 turns one way (-1) and 1 the other.
  float TurnSign() const { return static_cast<float>(2 * static_cast<int64_t>(turn.Value()) - 1); }

  ZKW_SmartAngle startAngle;                            // degrees: where the first arm starts
  ZKW_Angle armSpan;                                    // degrees: the width of each arm
  MediaParamT<unsigned> armCount{3};                    // arms spread evenly around the circle
  MediaParamT<int> turn{0};                             // the twist's direction
  UINTSclaleTo<float> twist{100, 6.2831855e-6f, 0.0f};  // radians per unit of radius / 2 pi
};

// Int32 version word (read and dropped), start angle and arm span (stored and notified when they
// differ, so that their radians follow), arm count and turn stored straight, twist stored and
// notified when it differs.
void ReadSpiralParams(DS_IOF_Archive& archive, SpiralParams& params);
// Int32 1, UInt32 start angle, arm span, arm count, Int32 turn, UInt32 twist.
void WriteSpiralParams(DS_IOF_Archive& archive, const SpiralParams& params);
