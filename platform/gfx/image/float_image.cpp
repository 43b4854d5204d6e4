#include "platform/gfx/image/float_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/image/dxt_encoder.h"
#include "platform/gfx/texture_format.h"

namespace gfx::image {

namespace {

float Unit(uint8_t byte) {
  return float(byte) / 255.0f;
}

uint8_t Byte(float unit) {
  return uint8_t(std::lround(std::clamp(unit, 0.0f, 1.0f) * 255.0f));
}

// Signed normalised components: -128 and -127 both read as -1.
float Snorm8(int8_t v) {
  return std::max(float(v) / 127.0f, -1.0f);
}
float Snorm16(int16_t v) {
  return std::max(float(v) / 32767.0f, -1.0f);
}
int8_t ToSnorm8(float f) {
  return int8_t(std::lround(std::clamp(f, -1.0f, 1.0f) * 127.0f));
}
int16_t ToSnorm16(float f) {
  return int16_t(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f));
}

// NaN would pass every clamp unchanged; it reads as 0.
Color4 Finite(Color4 c) {
  for (float* f : {&c.r, &c.g, &c.b, &c.a})
    if (!std::isfinite(*f)) *f = std::isinf(*f) && *f > 0 ? 1.0f : 0.0f;
  return c;
}

}  // namespace

bool IsConvertible(Format format) {
  switch (format) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8:
    case Format::A8:
    case Format::V8U8:
    case Format::V16U16:
    case Format::Dxt1:
    case Format::Dxt3:
    case Format::Dxt5:
      return true;
    default:
      return false;
  }
}

bool IsBumpFormat(Format format) {
  return format == Format::V8U8 || format == Format::V16U16;
}

FloatImage DecodeLevel(Format format, const uint8_t* bytes, uint32_t pitch, uint32_t width,
                       uint32_t height) {
  FloatImage image(width, height);
  if (format == Format::Dxt1 || format == Format::Dxt3 || format == Format::Dxt5) {
    // The device's decoder reads packed block rows.
    const TextureFormatInfo info = TextureFormatInfo::Of(format);
    std::vector<uint8_t> packed(size_t(info.Pitch(width)) * info.Rows(height));
    for (uint32_t row = 0; row < info.Rows(height); ++row)
      std::memcpy(&packed[size_t(row) * info.Pitch(width)], bytes + size_t(row) * pitch,
                  info.Pitch(width));
    std::vector<uint8_t> bgra(size_t(width) * height * 4);
    DecodeDxt(format, packed.data(), width, height, bgra.data());
    for (size_t i = 0; i < image.pixels.size(); ++i)
      image.pixels[i] = {Unit(bgra[4 * i + 2]), Unit(bgra[4 * i + 1]), Unit(bgra[4 * i]),
                         Unit(bgra[4 * i + 3])};
    return image;
  }
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = bytes + size_t(y) * pitch;
    for (uint32_t x = 0; x < width; ++x) {
      Color4& c = image.At(x, y);
      switch (format) {
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: {
          const uint8_t* p = row + 4 * x;
          c = {Unit(p[2]), Unit(p[1]), Unit(p[0]), format == Format::X8R8G8B8 ? 1.0f : Unit(p[3])};
          break;
        }
        case Format::A8:
          c = {0, 0, 0, Unit(row[x])};
          break;
        case Format::V8U8:
          c = {Snorm8(int8_t(row[2 * x])), Snorm8(int8_t(row[2 * x + 1])), 1, 1};
          break;
        case Format::V16U16: {
          const uint8_t* p = row + 4 * x;
          c = {Snorm16(int16_t(p[0] | p[1] << 8)), Snorm16(int16_t(p[2] | p[3] << 8)), 1, 1};
          break;
        }
        default:
          break;
      }
    }
  }
  return image;
}

std::vector<uint8_t> EncodeLevel(Format format, const FloatImage& image) {
  const TextureFormatInfo info = TextureFormatInfo::Of(format);
  const uint32_t pitch = info.Pitch(image.width);
  std::vector<uint8_t> out(size_t(pitch) * info.Rows(image.height));
  if (info.compressed) {
    const uint32_t blockBytes = info.bytesPerUnit;
    for (uint32_t by = 0; by < info.Rows(image.height); ++by) {
      for (uint32_t bx = 0; bx < pitch / blockBytes; ++bx) {
        // Pixels past the edge repeat the last row and column.
        uint8_t rgba[16][4];
        for (uint32_t i = 0; i < 16; ++i) {
          const uint32_t x = std::min(bx * 4 + i % 4, image.width - 1);
          const uint32_t y = std::min(by * 4 + i / 4, image.height - 1);
          const Color4 c = Finite(image.At(x, y));
          rgba[i][0] = Byte(c.r), rgba[i][1] = Byte(c.g), rgba[i][2] = Byte(c.b);
          rgba[i][3] = Byte(c.a);
        }
        EncodeDxtBlock(format, rgba, &out[size_t(by) * pitch + size_t(bx) * blockBytes]);
      }
    }
    return out;
  }
  for (uint32_t y = 0; y < image.height; ++y) {
    uint8_t* row = &out[size_t(y) * pitch];
    for (uint32_t x = 0; x < image.width; ++x) {
      const Color4 c = Finite(image.At(x, y));
      switch (format) {
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: {
          uint8_t* p = row + 4 * x;
          p[0] = Byte(c.b), p[1] = Byte(c.g), p[2] = Byte(c.r);
          p[3] = format == Format::X8R8G8B8 ? 255 : Byte(c.a);
          break;
        }
        case Format::A8:
          row[x] = Byte(c.a);
          break;
        case Format::V8U8:
          row[2 * x] = uint8_t(ToSnorm8(c.r));
          row[2 * x + 1] = uint8_t(ToSnorm8(c.g));
          break;
        case Format::V16U16: {
          const uint16_t u = uint16_t(ToSnorm16(c.r)), v = uint16_t(ToSnorm16(c.g));
          uint8_t* p = row + 4 * x;
          p[0] = uint8_t(u), p[1] = uint8_t(u >> 8), p[2] = uint8_t(v), p[3] = uint8_t(v >> 8);
          break;
        }
        default:
          break;
      }
    }
  }
  return out;
}

}  // namespace gfx::image
