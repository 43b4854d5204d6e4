#pragma once

#include <cstdint>

namespace audio {

// Volumes are attenuations in hundredths of a decibel: 0 is full volume, -10000 (and anything
// below) silence. Balance and pan run from -10000 (right side silent) to 10000 (left side
// silent); 0 is the centre.
inline constexpr long kSilence = -10000;

// The mixer's linear volume (0 to 128) of an attenuation.
int MixVolume(long hundredthsDb);

struct Panning {
  uint8_t left = 255;
  uint8_t right = 255;
};
// The mixer's per-side levels (0 to 255) of a balance or pan.
Panning MixPanning(long hundredthsDb);

}  // namespace audio
