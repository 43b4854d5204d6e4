#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Builders of RIFF bytes for the audio tests.
namespace wave_bytes {

inline void Append(std::vector<uint8_t>& out, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  out.insert(out.end(), p, p + n);
}
inline void U16(std::vector<uint8_t>& out, uint16_t v) {
  Append(out, &v, 2);
}
inline void U32(std::vector<uint8_t>& out, uint32_t v) {
  Append(out, &v, 4);
}

inline std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body,
                                  uint32_t statedSize = UINT32_MAX) {
  std::vector<uint8_t> out;
  Append(out, id, 4);
  U32(out, statedSize == UINT32_MAX ? uint32_t(body.size()) : statedSize);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0);
  return out;
}

// A "fmt " body of 16 bytes, or 18 with cbSize.
inline std::vector<uint8_t> Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                   int cbSize = -1) {
  std::vector<uint8_t> out;
  const uint16_t block = uint16_t(channels * bits / 8);
  U16(out, tag);
  U16(out, channels);
  U32(out, rate);
  U32(out, rate * block);
  U16(out, block);
  U16(out, bits);
  if (cbSize >= 0) U16(out, uint16_t(cbSize));
  return out;
}

inline std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks,
                                 const char* form = "WAVE") {
  std::vector<uint8_t> body;
  Append(body, form, 4);
  for (const auto& c : chunks)
    body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body);
}

// A mono 16-bit sine tone.
inline std::vector<uint8_t> Tone(double seconds, uint32_t rate = 22050) {
  std::vector<uint8_t> samples;
  const size_t n = size_t(seconds * rate);
  for (size_t i = 0; i < n; ++i)
    U16(samples, uint16_t(int16_t(8000 * std::sin(i * 0.1))));
  return Riff({Chunk("fmt ", Format(1, 1, rate, 16)), Chunk("data", samples)});
}

}  // namespace wave_bytes
