#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/formats.h"
#include "platform/gfx/image/float_image.h"

namespace gfx::image {

// Reads a stored level (rows of `pitch` bytes; rows of 4 x 4 blocks for DXT) one pixel row at a
// time from the top, so that converting a level needs no float copy of all of it. The bytes
// must outlive the reader.
class LevelReader {
 public:
  LevelReader(Format format, const uint8_t* bytes, uint32_t pitch, uint32_t width, uint32_t height);
  // The next row as `width` pixels; rows past the last read as transparent black.
  void Next(Color4* row);

 private:
  Format format_;
  const uint8_t* bytes_;
  uint32_t pitch_, width_, height_;
  uint32_t y_ = 0;
  std::vector<uint8_t> band_;  // DXT: the block row of y_ decoded to BGRA
};

// Encodes the rows of a picture, given top to bottom, into a level of `format` packed at
// TextureFormatInfo::Pitch: every row once, in order (a row given again is ignored; rows never
// given are zero bytes). DXT blocks are made once their four rows are in; past the right and
// bottom edges they repeat the last column and row. X8R8G8B8 stores opaque alpha.
class LevelEncoder {
 public:
  LevelEncoder(Format format, uint32_t width, uint32_t height);
  void Write(uint32_t y, const Color4* row);
  std::vector<uint8_t> Take();

 private:
  // Pads the bytes written so far with zeros up to `offset` (rows skipped); false when bytes
  // from `offset` on are written already.
  bool Reach(size_t offset);
  void EncodeRow(const Color4* in, uint8_t* row) const;
  void EncodeBand(uint32_t blockRow, uint32_t rows);

  Format format_;
  uint32_t width_, height_, pitch_;
  bool compressed_;
  size_t size_;               // of the whole level
  std::vector<uint8_t> out_;  // the bytes written so far
  std::vector<uint8_t> row_;  // one encoded row, or one DXT block, before it is appended
  std::vector<Color4> band_;  // DXT: the rows of the block row being filled
};

}  // namespace gfx::image
