#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "core/param/value_spread_prm.h"

// The stream of a flow nest's particles through their shape.
struct FlowPrm {
  ValueSpreadPrm speed{100, 1.0f};  // units per second, spread in percent
  ZKW_SmartAngle direction;         // degrees
  UINTSclaleTo<float> scatter{0, 0.01f, 0.0f};
};

// Int32 version (ignored), UInt32 speed value, UInt32 speed spread, UInt32 direction, UInt32
// scatter; each stored and notified only when it differs.
void ReadFlowPrm(DS_IOF_Archive& archive, FlowPrm& param);
// The same with version 1.
void WriteFlowPrm(DS_IOF_Archive& archive, const FlowPrm& param);
