#pragma once

#include <cstdint>
#include <deque>
#include <future>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/image/level_buffers.h"

// Pictures decoded on worker threads ahead of a loop that makes their textures one after the
// other: a few at a time, in the order the loop asks for them, so that decoding overlaps the
// uploads and other pictures' decoding while at most a few decoded pictures wait in memory.
// While one exists on a thread, CreateTextureFromBytes on that thread takes the next picture
// from it when the bytes are the next ones given; any other picture it decodes itself.
class PictureDecodeAhead {
 public:
  // The bytes must stay alive and unchanged while this exists.
  explicit PictureDecodeAhead(std::vector<std::span<const uint8_t>> pictures);
  ~PictureDecodeAhead();  // waits for the pictures in work
  PictureDecodeAhead(const PictureDecodeAhead&) = delete;
  PictureDecodeAhead& operator=(const PictureDecodeAhead&) = delete;

  // The calling thread's next picture decoded ahead when it has these bytes, waiting for it;
  // nothing otherwise.
  static std::optional<PreparedPicture> Take(std::span<const uint8_t> bytes);

 private:
  void Launch();

  // Each picture's level goes into the memory of one uploaded before.
  std::optional<gfx::image::LevelBufferReuse> reuse_{std::in_place};
  std::vector<std::span<const uint8_t>> pictures_;
  size_t launched_ = 0;
  std::deque<std::future<PreparedPicture>> ahead_;
  PictureDecodeAhead* previous_;
};
