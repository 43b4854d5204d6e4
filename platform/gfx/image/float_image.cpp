#include "platform/gfx/image/float_image.h"

#include "platform/gfx/image/level_rows.h"

namespace gfx::image {

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
  LevelReader reader(format, bytes, pitch, width, height);
  for (uint32_t y = 0; y < height; ++y)
    reader.Next(image.pixels.data() + size_t(y) * width);
  return image;
}

std::vector<uint8_t> EncodeLevel(Format format, const FloatImage& image) {
  LevelEncoder encoder(format, image.width, image.height);
  for (uint32_t y = 0; y < image.height; ++y)
    encoder.Write(y, image.pixels.data() + size_t(y) * image.width);
  return encoder.Take();
}

}  // namespace gfx::image
