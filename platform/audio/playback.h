#pragma once

#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/audio/audio_device.h"

namespace audio {

struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

// Decoded samples in the device's format with a play position, a volume and a balance: what a
// sound buffer and a music graph have in common. The position follows the clock while playing.
class Playback {
 public:
  // `onEnd` runs on the audio thread when the samples end by themselves.
  explicit Playback(std::function<void()> onEnd = {});
  ~Playback() { voice_.Stop(); }
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // New samples (in the device's format); stops and goes back to the start.
  void SetSamples(ChunkPtr chunk);
  bool HasSamples() const { return chunk_ != nullptr; }

  // Plays once from the current position (from the start when it is at the end), or looping
  // from the start.
  void Play(bool loop);
  // Stops where the sound is; a later Play goes on from there.
  void Stop();
  bool Playing() const { return voice_.Playing(); }
  bool Looping() const { return loop_; }

  double Duration() const;
  double Position() const;
  // Moves to the start; a sound that plays goes on from there.
  void Rewind();

  // Attenuation and balance in hundredths of a decibel.
  void SetVolume(long hundredthsDb);
  void SetBalance(long hundredthsDb);
  long Volume() const { return volume_; }
  long Balance() const { return balance_; }

 private:
  void StartAt(size_t offset, bool loop);
  size_t FrameBytes() const;
  size_t CurrentOffset() const;

  ChunkPtr chunk_;
  Mix_Chunk view_{};  // the part of chunk_ from the start position
  Voice voice_;
  std::function<void()> onEnd_;
  std::atomic<bool> ended_{false};
  bool loop_ = false;
  size_t offset_ = 0;  // where playing started, or where it stopped
  std::chrono::steady_clock::time_point started_;
  long volume_ = 0;
  long balance_ = 0;
};

}  // namespace audio
