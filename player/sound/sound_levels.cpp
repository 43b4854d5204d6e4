#include "player/sound/sound_levels.h"

#include <algorithm>
#include <cmath>

#include "core/float_to_int.h"

namespace {

constexpr long kSilence = -10000;
constexpr long kFullScale = 10000;

long Attenuation(double hundredthsDb) {
  return std::clamp(SaturatingTruncate<long>(hundredthsDb), kSilence, 0L);
}

long Side(double hundredthsDb) {
  return std::clamp(SaturatingTruncate<long>(hundredthsDb), -kFullScale, kFullScale);
}

}  // namespace

long FileVolume(int64_t percent) {
  // The factor is applied in float, as the volume has always been computed.
  return Attenuation(std::trunc(0.4 * double(float(double(percent - 100) * 100.0))));
}

long FileBalance(int64_t percent) {
  return Side(std::trunc(0.4 * double(float(double(percent - 50) * 200.0))));
}

long MusicVolume(int masterPercent, float trackFactor) {
  const int64_t percent = SaturatingTruncate<int64_t>(float(masterPercent) * trackFactor);
  return FileVolume(percent);
}

long BufferVolume(int64_t percent) {
  return Attenuation(double(percent - 100) * 50.0);
}

long BufferPan(int64_t percent) {
  return Side(double(percent - 50) * 100.0);
}

long PrimaryVolume(int masterPercent, bool muted) {
  return muted ? kSilence : BufferVolume(masterPercent);
}

unsigned WaveLengthHundredths(uint64_t bytes, uint32_t bytesPerSecond) {
  if (bytesPerSecond == 0) return 0;
  return SaturatingTruncate<unsigned>(
      std::floor(double(bytes) * 100.0 / double(bytesPerSecond) + 0.5));
}
