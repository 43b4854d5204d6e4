#pragma once

#include <memory>

#include "platform/audio/playback.h"
#include "platform/audio/riff_reader.h"

namespace audio {

// The SDL form of a WAVE format block's samples, 0 when the mixer cannot take them. 24-bit PCM
// maps to 32 bits: SoundBuffer widens those samples when it loads them.
SDL_AudioFormat SdlSampleFormat(const WaveFormat& format);

// A sound held in memory, made from WAVE data and played on the audio device: volume and pan in
// hundredths of a decibel, play once or looping, stop, position reset and status.
class SoundBuffer {
 public:
  struct Status {
    bool playing = false;
    bool looping = false;
  };

  // Null when the samples are in a form the mixer cannot take (PCM of 8, 16, 24 or 32 bits and
  // 32-bit float, also as extensible formats, 1 to 8 channels, 100 to 200000 samples per second) or
  // there is no audio device.
  [[nodiscard]] static std::unique_ptr<SoundBuffer> Create(const WaveData& wave);

  void SetVolume(long hundredthsDb) { playback_.SetVolume(hundredthsDb); }
  void SetPan(long hundredthsDb) { playback_.SetBalance(hundredthsDb); }
  long Volume() const { return playback_.Volume(); }
  long Pan() const { return playback_.Balance(); }

  void Play(bool looping) { playback_.Play(looping); }
  void Stop() { playback_.Stop(); }
  // Back to the first sample.
  void ResetPosition() { playback_.Rewind(); }
  Status GetStatus() const {
    return {playback_.Playing(), playback_.Playing() && playback_.Looping()};
  }
  double Duration() const { return playback_.Duration(); }

 private:
  SoundBuffer() = default;
  Playback playback_;
};

}  // namespace audio
