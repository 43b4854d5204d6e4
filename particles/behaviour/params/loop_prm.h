#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/graph/graph_spread_prm.h"
#include "core/param/media_param_t.h"
#include "core/param/smart_angle.h"

// Particles looping over their shape.
struct LoopPrm {
  GraphSpreadPrm speed{100, 0.0001f};  // 0.01, with spread and envelope
  ZKW_SmartAngle direction;            // degrees
  MediaParamT<int> edgeMode{0};        // 1: a particle dies when it leaves its shape's square
};

// Int32 version v, the speed as ReadGraphSpreadPrm reads it, UInt32 direction (stored and
// notified when it differs), and from version 2 on Int32 edge mode (stored straight).
void ReadLoopPrm(DS_IOF_Archive& archive, LoopPrm& param);
// Version 2 with every field.
void WriteLoopPrm(DS_IOF_Archive& archive, const LoopPrm& param);
