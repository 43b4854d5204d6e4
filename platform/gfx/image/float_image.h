#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/formats.h"

namespace gfx::image {

// One pixel as four floats: colours and alpha in [0, 1]; the u and v of bump formats in
// [-1, 1] as red and green.
struct Color4 {
  float r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const Color4&, const Color4&) = default;
};

// A picture that filters and format conversions work on: rows from the top.
struct FloatImage {
  uint32_t width = 0, height = 0;
  std::vector<Color4> pixels;

  FloatImage() = default;
  FloatImage(uint32_t w, uint32_t h) : width(w), height(h), pixels(size_t(w) * h) {}
  Color4& At(uint32_t x, uint32_t y) { return pixels[size_t(y) * width + x]; }
  const Color4& At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
};

// Whether pictures of this format can be read and written here.
bool IsConvertible(Format format);
// Whether a format holds bump (signed u, v) data rather than colours; the two kinds do not
// convert into each other.
bool IsBumpFormat(Format format);

// A level's bytes in `format` (rows of `pitch` bytes; rows of 4 x 4 blocks for DXT) as floats.
FloatImage DecodeLevel(Format format, const uint8_t* bytes, uint32_t pitch, uint32_t width,
                       uint32_t height);
// A picture as a level of `format`, rows packed at TextureFormatInfo::Pitch. X8R8G8B8 stores
// opaque alpha.
std::vector<uint8_t> EncodeLevel(Format format, const FloatImage& image);

}  // namespace gfx::image
