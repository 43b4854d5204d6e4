#include "platform/audio/music_graph.h"

#include <SDL.h>

#include <climits>

#include "platform/audio/riff_reader.h"
#include "platform/sys/file_paths.h"

namespace audio {
namespace {

constexpr size_t kMaxQueued = 64;  // events nobody takes are dropped beyond this

}  // namespace

uint32_t MusicEventType() {
  static const uint32_t type = SDL_RegisterEvents(1);
  return type;
}

MusicGraph::MusicGraph() : playback_([this] { OnEnd(); }) {}

MusicGraph::~MusicGraph() {
  playback_.SetSamples(nullptr);
}

bool MusicGraph::RenderFile(const std::filesystem::path& file) {
  Stop();
  playback_.SetSamples(nullptr);
  if (!EnsureAudioDevice()) return false;
  const auto bytes = sys::ReadWholeFile(file);
  if (!bytes || bytes->size() > size_t(INT_MAX)) return false;
  // The mixer converts WAVE data to the device's rate whatever its rate: refuse the rates that
  // would make a small file huge.
  if (const auto wave = ReadWave(*bytes); wave && !PlayableSampleRate(wave->format.samplesPerSec))
    return false;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), int(bytes->size()));
  if (!rw) return false;
  // The stream is closed here: the mixer does not close it when it cannot decode the data.
  ChunkPtr chunk(Mix_LoadWAV_RW(rw, 0));
  SDL_RWclose(rw);
  if (!chunk) return false;
  playback_.SetSamples(std::move(chunk));
  return true;
}

void MusicGraph::Run() {
  if (state_ == State::Running) return;
  state_ = State::Running;
  playback_.Play(false);
}

void MusicGraph::Stop() {
  state_ = State::Stopped;
  playback_.Stop();
}

void MusicGraph::SetNotify(void* target) {
  if (target) SDL_InitSubSystem(SDL_INIT_EVENTS);
  std::lock_guard lock(mutex_);
  notify_ = target;
}

bool MusicGraph::GetEvent(long& code) {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return false;
  code = events_.front();
  events_.pop_front();
  return true;
}

void MusicGraph::OnEnd() {
  std::lock_guard lock(mutex_);
  if (events_.size() >= kMaxQueued) return;
  events_.push_back(kEventComplete);
  if (!notify_) return;
  SDL_Event event{};
  event.type = MusicEventType();
  event.user.data1 = this;
  event.user.data2 = notify_;
  SDL_PushEvent(&event);
}

}  // namespace audio
