#include "platform/audio/sound_buffer.h"

#include <SDL.h>

#include <cstring>

namespace audio {
namespace {

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

SDL_AudioFormat SourceFormat(const WaveFormat& f) {
  if (f.formatTag == kFloat) return f.bitsPerSample == 32 ? AUDIO_F32LSB : 0;
  if (f.formatTag != kPcm && f.formatTag != kExtensible) return 0;
  switch (f.bitsPerSample) {
    case 8:
      return AUDIO_U8;
    case 16:
      return AUDIO_S16LSB;
    case 32:
      return AUDIO_S32LSB;
    default:
      return 0;
  }
}

}  // namespace

std::unique_ptr<SoundBuffer> SoundBuffer::Create(const WaveData& wave) {
  const SDL_AudioFormat from = SourceFormat(wave.format);
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
  const size_t frame = size_t(SDL_AUDIO_BITSIZE(from) / 8) * wave.format.channels;
  const size_t bytes = wave.samples.size() - wave.samples.size() % frame;
  if (bytes > size_t(INT32_MAX / std::max(cvt.len_mult, 1))) return nullptr;
  cvt.len = int(bytes);
  // The mixer frees the chunk's buffer with SDL_free.
  auto* buffer = static_cast<Uint8*>(SDL_malloc(std::max<size_t>(bytes * cvt.len_mult, 1)));
  if (!buffer) return nullptr;
  if (bytes) std::memcpy(buffer, wave.samples.data(), bytes);
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
