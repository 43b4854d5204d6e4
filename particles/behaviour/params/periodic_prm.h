#pragma once

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// The wave of a periodic effect; its owner reads and writes it inline in its own record.
struct PeriodicPrm {
  MediaParamT<int> mode{0};                        // 1 octave noise, anything else a cosine
  UINTSclaleTo<float> speed{50, 0.05f, 0.0f};      // 2.5
  UINTSclaleTo<float> amplitude{50, 0.01f, 0.0f};  // 0.5
  UINTSclaleTo<float> third{0, 0.01f, 0.0f};       // given its meaning by the owner
};
