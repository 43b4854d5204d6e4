#include "platform/audio/playback.h"

#include <algorithm>

#include "platform/audio/decibels.h"

namespace audio {
namespace {

struct DeviceSpec {
  int frequency = 44100;
  size_t frameBytes = 4;
};

DeviceSpec QuerySpec() {
  DeviceSpec spec;
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&frequency, &format, &channels) != 0 && frequency > 0 && channels > 0) {
    spec.frequency = frequency;
    spec.frameBytes = size_t(SDL_AUDIO_BITSIZE(format) / 8) * size_t(channels);
  }
  return spec;
}

}  // namespace

Playback::Playback(std::function<void()> onEnd)
    : voice_([this] {
        ended_ = true;
        if (onEnd_) onEnd_();
      }),
      onEnd_(std::move(onEnd)) {}

void Playback::SetSamples(ChunkPtr chunk) {
  voice_.Stop();
  chunk_ = std::move(chunk);
  offset_ = 0;
  ended_ = false;
}

size_t Playback::FrameBytes() const {
  return std::max<size_t>(QuerySpec().frameBytes, 1);
}

double Playback::Duration() const {
  if (!chunk_) return 0.0;
  const DeviceSpec spec = QuerySpec();
  return double(chunk_->alen) / double(spec.frameBytes) / double(spec.frequency);
}

size_t Playback::CurrentOffset() const {
  if (!chunk_) return 0;
  const size_t length = chunk_->alen;
  if (!voice_.Playing()) return ended_ && !loop_ ? length : std::min(offset_, length);
  const DeviceSpec spec = QuerySpec();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  size_t played = offset_ + size_t(seconds * spec.frequency) * spec.frameBytes;
  if (loop_ && length > 0) played %= length;
  return std::min(played, length);
}

double Playback::Position() const {
  if (!chunk_) return 0.0;
  const DeviceSpec spec = QuerySpec();
  return double(CurrentOffset()) / double(spec.frameBytes) / double(spec.frequency);
}

void Playback::StartAt(size_t offset, bool loop) {
  voice_.Stop();
  ended_ = false;
  loop_ = loop;
  if (!chunk_) return;
  offset = std::min<size_t>(offset - offset % FrameBytes(), chunk_->alen);
  offset_ = offset;
  view_ = *chunk_;
  view_.allocated = 0;
  view_.abuf = chunk_->abuf + offset;
  view_.alen = Uint32(chunk_->alen - offset);
  started_ = std::chrono::steady_clock::now();
  if (view_.alen == 0) {
    ended_ = true;
    return;
  }
  voice_.SetVolume(MixVolume(volume_));
  const Panning pan = MixPanning(balance_);
  voice_.SetPanning(pan.left, pan.right);
  voice_.Start(&view_, loop);
}

void Playback::Play(bool loop) {
  if (voice_.Playing()) {
    loop_ = loop;
    return;
  }
  const size_t at = CurrentOffset();
  StartAt(loop || !chunk_ || at >= chunk_->alen ? 0 : at, loop);
}

void Playback::Stop() {
  offset_ = CurrentOffset();
  voice_.Stop();
}

void Playback::Rewind() {
  if (voice_.Playing()) {
    StartAt(0, loop_);
  } else {
    offset_ = 0;
    ended_ = false;
  }
}

void Playback::SetVolume(long hundredthsDb) {
  volume_ = hundredthsDb;
  voice_.SetVolume(MixVolume(volume_));
}

void Playback::SetBalance(long hundredthsDb) {
  balance_ = hundredthsDb;
  const Panning pan = MixPanning(balance_);
  voice_.SetPanning(pan.left, pan.right);
}

}  // namespace audio
