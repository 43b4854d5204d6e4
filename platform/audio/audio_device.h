#pragma once

#include <SDL_mixer.h>

#include <functional>

namespace audio {

// The output device and mixer of the process, opened on first use through SDL2_mixer (SDL's
// audio driver decides where sound goes: the dummy driver in tests). Without a device every
// sound is silent and nothing fails.
bool EnsureAudioDevice();

// One sound playing on a mixer channel of its own. The channel is taken when the voice first
// plays and kept until the voice is destroyed, so that stopping never touches another voice.
class Voice {
 public:
  // `onEnd` runs on the audio thread when a sound ends by itself (not when stopped); it must not
  // call the mixer.
  explicit Voice(std::function<void()> onEnd = {});
  ~Voice();
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  // Plays the chunk from its start, once or looping; false without a device.
  bool Start(Mix_Chunk* chunk, bool loop);
  void Stop();
  bool Playing() const;
  // Mixer volume 0 to 128 and side levels 0 to 255; they also apply to a sound already playing.
  void SetVolume(int volume);
  void SetPanning(uint8_t left, uint8_t right);

  // Called by the mixer's channel-finished hook.
  static void OnChannelFinished(int channel);

 private:
  void Apply();

  std::function<void()> onEnd_;
  int channel_ = -1;
  int volume_ = MIX_MAX_VOLUME;
  uint8_t left_ = 255, right_ = 255;
};

}  // namespace audio
