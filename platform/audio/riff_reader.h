#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace audio {

// The format block of a WAVE file, as its "fmt " chunk stores it.
struct WaveFormat {
  uint16_t formatTag = 0;  // 1 PCM, 3 IEEE float, 0xFFFE extensible
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t cbSize = 0;     // 0 for the 16-byte form of the chunk
  uint16_t subFormat = 0;  // extensible: the format tag its SubFormat GUID starts with, else 0
};

struct WaveData {
  WaveFormat format;
  std::span<const uint8_t> samples;  // the "data" chunk, inside the bytes that were read
};

// Reads in-memory WAVE data: the first top-level "RIFF" chunk of form "WAVE", its "fmt " chunk
// (the 16- and 18-byte forms and longer ones) and its "data" chunk. A chunk whose stated size
// runs past the end is cut to the bytes present. Nothing when there is no such RIFF chunk, no
// fmt chunk of at least 16 bytes or no data chunk.
[[nodiscard]] std::optional<WaveData> ReadWave(std::span<const uint8_t> bytes);

// The sample rates the player plays, 100 to 200000 per second. Samples are converted to the
// device's rate when a sound is loaded, so a rate of a few hertz would turn a few stored bytes
// into gigabytes.
bool PlayableSampleRate(uint32_t samplesPerSec);

}  // namespace audio
