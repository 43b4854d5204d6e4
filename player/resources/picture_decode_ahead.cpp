#include "player/resources/picture_decode_ahead.h"

#include <malloc.h>

#include <algorithm>
#include <thread>

#include "player/resources/picture_textures.h"

namespace {

thread_local PictureDecodeAhead* current = nullptr;

// Pictures in work or waiting at once: each holds a whole decoded texture level, so that more
// of them would lift the peak resident size more than they shorten the load.
size_t AheadCount() {
  return std::clamp<size_t>(std::thread::hardware_concurrency(), 2, 4) - 1;
}

}  // namespace

PictureDecodeAhead::PictureDecodeAhead(std::vector<std::span<const uint8_t>> pictures)
    : pictures_(std::move(pictures)), previous_(current) {
  current = this;
  Launch();
}

PictureDecodeAhead::~PictureDecodeAhead() {
  current = previous_;
  for (auto& picture : ahead_)
    picture.wait();
  ahead_.clear();
  reuse_.reset();
  // The workers' decoded levels were freed into their threads' malloc arenas, which keep them
  // for reuse: hand that memory back.
  malloc_trim(0);
}

void PictureDecodeAhead::Launch() {
  const size_t count = AheadCount();
  while (ahead_.size() < count && launched_ < pictures_.size()) {
    ahead_.push_back(std::async(std::launch::async, PreparePictureBytes, pictures_[launched_]));
    ++launched_;
  }
}

std::optional<PreparedPicture> PictureDecodeAhead::Take(std::span<const uint8_t> bytes) {
  PictureDecodeAhead* self = current;
  if (self == nullptr || self->ahead_.empty()) return std::nullopt;
  const std::span<const uint8_t> next = self->pictures_[self->launched_ - self->ahead_.size()];
  if (next.data() != bytes.data() || next.size() != bytes.size()) return std::nullopt;
  PreparedPicture picture = self->ahead_.front().get();
  self->ahead_.pop_front();
  self->Launch();
  return picture;
}
