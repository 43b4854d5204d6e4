#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx::image {

// The memory of large texture levels handed on from one picture to the next while many are
// loaded in a row. A level's buffer is freed once its texture is made; the next picture's level
// would then be written into fresh pages, and the page faults of 16 MiB cost more than encoding
// it. While a LevelBufferReuse exists (on any thread), a few released buffers are kept and
// handed out again; without one, buffers are made and freed as usual.
class LevelBufferReuse {
 public:
  LevelBufferReuse();
  ~LevelBufferReuse();  // the last one frees the buffers kept
  LevelBufferReuse(const LevelBufferReuse&) = delete;
  LevelBufferReuse& operator=(const LevelBufferReuse&) = delete;
};

// An empty buffer with room for `bytes`: a kept one of about that size when there is one,
// otherwise a new reservation.
std::vector<uint8_t> TakeLevelBuffer(size_t bytes);
// Gives back the buffer of a level that is no longer needed: kept for reuse while a
// LevelBufferReuse exists and there is room, freed otherwise.
void ReleaseLevelBuffer(std::vector<uint8_t>&& buffer);

}  // namespace gfx::image
