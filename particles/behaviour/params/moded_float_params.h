#pragma once

#include "core/param/media_param_t.h"

// The emission cycle of a particle source; its owner reads and writes it inline.
struct ModedFloatParams {
  MediaParamT<int> mode{0};           // carried through the archive, not used by the emission
  MediaParamT<float> duration{1.0f};  // seconds of emission
  MediaParamT<float> pause{0.0f};     // seconds
  MediaParamT<float> delay{0.0f};     // seconds
};
