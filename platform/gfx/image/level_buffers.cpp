#include "platform/gfx/image/level_buffers.h"

#include <algorithm>
#include <mutex>

namespace gfx::image {

namespace {

// Smaller buffers come from the allocator's free lists without faults.
constexpr size_t kSmallestKept = size_t(1) << 20;
// As many as the pictures a load has in work at once (decoded ahead, and one being uploaded).
constexpr size_t kMostKept = 4;

struct Kept {
  std::mutex mutex;
  int scopes = 0;
  std::vector<std::vector<uint8_t>> buffers;
};

Kept& TheKept() {
  static Kept kept;
  return kept;
}

}  // namespace

LevelBufferReuse::LevelBufferReuse() {
  Kept& kept = TheKept();
  const std::lock_guard lock(kept.mutex);
  ++kept.scopes;
}

LevelBufferReuse::~LevelBufferReuse() {
  Kept& kept = TheKept();
  std::vector<std::vector<uint8_t>> freed;
  {
    const std::lock_guard lock(kept.mutex);
    if (--kept.scopes == 0) freed.swap(kept.buffers);
  }
}

std::vector<uint8_t> TakeLevelBuffer(size_t bytes) {
  std::vector<uint8_t> buffer;
  if (bytes >= kSmallestKept) {
    Kept& kept = TheKept();
    const std::lock_guard lock(kept.mutex);
    // One that fits without holding much more than the level needs.
    const auto fits = std::find_if(kept.buffers.begin(), kept.buffers.end(), [&](const auto& b) {
      return b.capacity() >= bytes && b.capacity() / 2 <= bytes;
    });
    if (fits != kept.buffers.end()) {
      buffer.swap(*fits);
      kept.buffers.erase(fits);
    }
  }
  buffer.clear();
  buffer.reserve(bytes);
  return buffer;
}

void ReleaseLevelBuffer(std::vector<uint8_t>&& buffer) {
  std::vector<uint8_t> released(std::move(buffer));
  if (released.capacity() < kSmallestKept) return;
  Kept& kept = TheKept();
  const std::lock_guard lock(kept.mutex);
  if (kept.scopes > 0 && kept.buffers.size() < kMostKept)
    kept.buffers.push_back(std::move(released));
}

}  // namespace gfx::image
