#include "platform/audio/decibels.h"

#include <algorithm>
#include <cmath>

namespace audio {
namespace {

// The amplitude factor of an attenuation, 0 at silence.
double Amplitude(long hundredthsDb) {
  if (hundredthsDb <= kSilence) return 0.0;
  return std::pow(10.0, double(std::min(hundredthsDb, 0L)) / 2000.0);
}

}  // namespace

int MixVolume(long hundredthsDb) {
  return int(std::lround(128.0 * Amplitude(hundredthsDb)));
}

Panning MixPanning(long hundredthsDb) {
  Panning p;
  if (hundredthsDb > 0) p.left = uint8_t(std::lround(255.0 * Amplitude(-hundredthsDb)));
  if (hundredthsDb < 0) p.right = uint8_t(std::lround(255.0 * Amplitude(hundredthsDb)));
  return p;
}

}  // namespace audio
