#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// How one per-frame multiplier of a particle wobbles: not at all (mode 0), along a cosine (1) or
// along Perlin noise (2), with a frequency in tenths (50, scaled 5.0) and an amplitude in
// half-percent steps (100, scaled 0.5). Particle appearances and geometries hold one per
// wobbling property; the routines made from it copy the scaled values.
struct OscillationParams {
  enum Mode : int { kNone = 0, kHarmonic = 1, kPerlin = 2 };

  MediaParamT<int> mode{kNone};
  UINTSclaleTo<float> frequency{50, 0.1f, 0.0f};
  UINTSclaleTo<float> amplitude{100, 0.005f, 0.0f};
};

// UInt32 amplitude and UInt32 frequency, each stored and notified only when it differs, then the
// Int32 mode stored straight (no notification, the undo copy left as it was).
void ReadOscillationParams(DS_IOF_Archive& archive, OscillationParams& params);
// The same three values in the same order.
void WriteOscillationParams(DS_IOF_Archive& archive, const OscillationParams& params);
