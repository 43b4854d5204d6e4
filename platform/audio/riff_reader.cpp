#include "platform/audio/riff_reader.h"

#include <cstring>

namespace audio {
namespace {

struct Chunk {
  char id[4];
  std::span<const uint8_t> body;  // cut to the bytes present
};

uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Walks the chunks laid one after another in `area` (each padded to an even size) until `fn`
// answers true.
template <typename Fn>
bool ForEachChunk(std::span<const uint8_t> area, Fn&& fn) {
  size_t at = 0;
  while (area.size() - at >= 8) {
    Chunk c;
    std::memcpy(c.id, area.data() + at, 4);
    const uint64_t size = U32(area.data() + at + 4);
    const size_t bodyAt = at + 8;
    const size_t present = size_t(std::min<uint64_t>(size, area.size() - bodyAt));
    c.body = area.subspan(bodyAt, present);
    if (fn(c)) return true;
    const uint64_t next = uint64_t(bodyAt) + size + (size & 1);
    if (next >= area.size()) break;
    at = size_t(next);
  }
  return false;
}

bool Is(const char* id, const char (&tag)[5]) {
  return std::memcmp(id, tag, 4) == 0;
}

}  // namespace

std::optional<WaveData> ReadWave(std::span<const uint8_t> bytes) {
  std::span<const uint8_t> wave;
  const bool found = ForEachChunk(bytes, [&](const Chunk& c) {
    if (!Is(c.id, "RIFF") || c.body.size() < 4 || std::memcmp(c.body.data(), "WAVE", 4) != 0)
      return false;
    wave = c.body.subspan(4);
    return true;
  });
  if (!found) return std::nullopt;

  WaveData out;
  bool haveFormat = false, haveData = false;
  ForEachChunk(wave, [&](const Chunk& c) {
    if (!haveFormat && Is(c.id, "fmt ") && c.body.size() >= 16) {
      const uint8_t* p = c.body.data();
      out.format = {U16(p),
                    U16(p + 2),
                    U32(p + 4),
                    U32(p + 8),
                    U16(p + 12),
                    U16(p + 14),
                    uint16_t(c.body.size() >= 18 ? U16(p + 16) : 0)};
      if (out.format.formatTag == 0xFFFE && c.body.size() >= 40) out.format.subFormat = U16(p + 24);
      haveFormat = true;
    } else if (!haveData && Is(c.id, "data")) {
      out.samples = c.body;
      haveData = true;
    }
    return haveFormat && haveData;
  });
  if (!haveFormat || !haveData) return std::nullopt;
  return out;
}

bool PlayableSampleRate(uint32_t samplesPerSec) {
  return samplesPerSec >= 100 && samplesPerSec <= 200000;
}

}  // namespace audio
