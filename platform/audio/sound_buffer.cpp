#include "platform/audio/sound_buffer.h"

#include <SDL.h>

#include <cstring>
#include <span>
#include <vector>

namespace audio {
namespace {

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

// 24-bit samples widened to 32 bits, the smallest form SDL converts from.
std::vector<uint8_t> Widen24(std::span<const uint8_t> samples) {
  std::vector<uint8_t> out(samples.size() / 3 * 4);
  for (size_t i = 0, o = 0; i + 3 <= samples.size(); i += 3, o += 4) {
    out[o] = 0;
    std::memcpy(&out[o + 1], &samples[i], 3);
  }
  return out;
}

}  // namespace

SDL_AudioFormat SdlSampleFormat(const WaveFormat& f) {
  // An extensible block names its real format in its SubFormat; one without it is taken as PCM.
  uint16_t tag = f.formatTag;
  if (tag == kExtensible) tag = f.subFormat != 0 ? f.subFormat : kPcm;
  if (tag == kFloat) return f.bitsPerSample == 32 ? AUDIO_F32LSB : 0;
  if (tag != kPcm) return 0;
  switch (f.bitsPerSample) {
    case 8:
      return AUDIO_U8;
    case 16:
      return AUDIO_S16LSB;
    case 24:
    case 32:
      return AUDIO_S32LSB;
    default:
      return 0;
  }
}

std::unique_ptr<SoundBuffer> SoundBuffer::Create(const WaveData& wave) {
  const SDL_AudioFormat from = SdlSampleFormat(wave.format);
  if (from == 0 || wave.format.channels < 1 || wave.format.channels > 8 ||
      !PlayableSampleRate(wave.format.samplesPerSec) || !EnsureAudioDevice())
    return nullptr;
  int rate = 0, channels = 0;
  Uint16 to = 0;
  if (Mix_QuerySpec(&rate, &to, &channels) == 0) return nullptr;

  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, from, Uint8(wave.format.channels), int(wave.format.samplesPerSec), to,
                        Uint8(channels), rate) < 0)
    return nullptr;
  std::vector<uint8_t> widened;
  std::span<const uint8_t> samples = wave.samples;
  if (wave.format.bitsPerSample == 24) samples = widened = Widen24(samples);
  const size_t frame = size_t(SDL_AUDIO_BITSIZE(from) / 8) * wave.format.channels;
  const size_t bytes = samples.size() - samples.size() % frame;
  if (bytes > size_t(INT32_MAX / std::max(cvt.len_mult, 1))) return nullptr;
  cvt.len = int(bytes);
  // The mixer frees the chunk's buffer with SDL_free.
  auto* buffer = static_cast<Uint8*>(SDL_malloc(std::max<size_t>(bytes * cvt.len_mult, 1)));
  if (!buffer) return nullptr;
  if (bytes) std::memcpy(buffer, samples.data(), bytes);
  cvt.buf = buffer;
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
    SDL_free(buffer);
    return nullptr;
  }
  const Uint32 length = Uint32(cvt.needed ? cvt.len_cvt : cvt.len);
  ChunkPtr chunk(Mix_QuickLoad_RAW(buffer, length));
  if (!chunk) {
    SDL_free(buffer);
    return nullptr;
  }
  chunk->allocated = 1;
  std::unique_ptr<SoundBuffer> sound(new SoundBuffer);
  sound->playback_.SetSamples(std::move(chunk));
  return sound;
}

}  // namespace audio
