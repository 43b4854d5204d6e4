#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"

// A value and its jitter: the value itself (factor 1, offset 0 unless the owner changes them)
// and a jitter percent p scaled to 1 - p / 100.
struct ZKW_JitterParam {
  UINTSclaleTo<float> value;
  UINTSclaleTo<float> jitter{0, -0.01f, 1.0f};
};

// Two UInt32, the value and the jitter percent. Each part is stored and notified when the read
// value differs, and notified once more in every case.
void ReadJitterParam(DS_IOF_Archive& archive, ZKW_JitterParam& param);
