#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// Gravity and drag of an emitter's particles. Gravity mode 0 is none, 1 pulls along +y, 2 and
// above along -y; drag mode 0 is none, 1 quadratic weighted by the particle's size spread,
// 2 quadratic, 3 and above linear. The default drag (-0.5) opposes the motion.
struct ForcesPrm {
  MediaParamT<int> gravityMode{0};
  UINTSclaleTo<float> gravity{0, 5.0f, 0.0f};
  MediaParamT<int> dragMode{0};
  UINTSclaleTo<float> drag{50, -0.01f, 0.0f};
};

// Int32 version; from version 2 on an Int32 drag mode (version 1 records drag linearly, mode 3);
// then Int32 gravity mode, UInt32 gravity and UInt32 drag, each UInt32 stored and notified only
// when it differs.
void ReadForcesPrm(DS_IOF_Archive& archive, ForcesPrm& forces);
// Version 2 with the fields in that order.
void WriteForcesPrm(DS_IOF_Archive& archive, const ForcesPrm& forces);
