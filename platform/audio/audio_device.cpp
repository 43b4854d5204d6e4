#include "platform/audio/audio_device.h"

#include <SDL.h>

#include <mutex>
#include <vector>

namespace audio {
namespace {

// Which voice holds which channel. The finished hook reads it on the audio thread; the main
// thread takes and frees channels. No mixer call is made while the lock is held, because the
// mixer calls the hook with its own lock held.
struct Channels {
  std::mutex mutex;
  std::vector<Voice*> playing;  // by channel: the voice whose sound may still end
  std::vector<int> free;        // channels of destroyed voices; main thread only
  int count = 0;                // channels allocated; main thread only
};

Channels& TheChannels() {
  static Channels* channels = new Channels;  // lives to the end: the hook may run at exit
  return *channels;
}

void ChannelFinished(int channel) {
  Voice::OnChannelFinished(channel);
}

}  // namespace

bool EnsureAudioDevice() {
  static const bool open = [] {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_AllocateChannels(0);
    Mix_ChannelFinished(ChannelFinished);
    return true;
  }();
  return open;
}

Voice::Voice(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}

Voice::~Voice() {
  if (channel_ < 0) return;
  Stop();
  TheChannels().free.push_back(channel_);
}

bool Voice::Start(Mix_Chunk* chunk, bool loop) {
  if (!chunk || !EnsureAudioDevice()) return false;
  Channels& c = TheChannels();
  if (channel_ < 0) {
    if (!c.free.empty()) {
      channel_ = c.free.back();
      c.free.pop_back();
    } else {
      {
        std::lock_guard lock(c.mutex);
        c.playing.push_back(nullptr);
      }
      channel_ = c.count++;
      Mix_AllocateChannels(c.count);
    }
  }
  Stop();
  {
    std::lock_guard lock(c.mutex);
    c.playing[channel_] = this;
  }
  Apply();
  if (Mix_PlayChannel(channel_, chunk, loop ? -1 : 0) < 0) {
    std::lock_guard lock(c.mutex);
    c.playing[channel_] = nullptr;
    return false;
  }
  return true;
}

void Voice::Stop() {
  if (channel_ < 0) return;
  Channels& c = TheChannels();
  {
    std::lock_guard lock(c.mutex);
    c.playing[channel_] = nullptr;  // a halt is no end of the sound
  }
  Mix_HaltChannel(channel_);
}

bool Voice::Playing() const {
  return channel_ >= 0 && Mix_Playing(channel_) != 0;
}

void Voice::SetVolume(int volume) {
  volume_ = volume;
  if (channel_ >= 0) Mix_Volume(channel_, volume_);
}

void Voice::SetPanning(uint8_t left, uint8_t right) {
  left_ = left;
  right_ = right;
  if (channel_ >= 0) Mix_SetPanning(channel_, left_, right_);
}

void Voice::Apply() {
  Mix_Volume(channel_, volume_);
  Mix_SetPanning(channel_, left_, right_);
}

void Voice::OnChannelFinished(int channel) {
  Channels& c = TheChannels();
  std::lock_guard lock(c.mutex);
  if (channel < 0 || size_t(channel) >= c.playing.size()) return;
  Voice* v = c.playing[channel];
  c.playing[channel] = nullptr;
  if (v && v->onEnd_) v->onEnd_();
}

}  // namespace audio
