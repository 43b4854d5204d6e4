#include "platform/gfx/image/picture_decoder.h"

#include <climits>
#include <cstring>

#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/picture_formats.h"

namespace gfx::image {

namespace {

bool StartsWith(std::span<const uint8_t> bytes, const char* tag, size_t n) {
  return bytes.size() >= n && std::memcmp(bytes.data(), tag, n) == 0;
}

}  // namespace

bool PlausiblePictureSize(uint64_t width, uint64_t height, size_t bytes) {
  if (width == 0 || height == 0 || width > kMaxPictureSize || height > kMaxPictureSize)
    return false;
  const uint64_t pixels = width * height;
  return pixels <= kMaxPicturePixels && pixels <= uint64_t(bytes) * 4096 + (1u << 20);
}

std::unique_ptr<PictureRows> OpenPicture(std::span<const uint8_t> bytes, std::string* error) {
  std::string reason;
  std::unique_ptr<PictureRows> rows;
  if (bytes.empty() || bytes.size() > size_t(INT_MAX))
    reason = "no picture data";
  else if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8))
    rows = OpenPng(bytes, &reason);
  else if (StartsWith(bytes, "\xFF\xD8", 2))
    rows = OpenJpeg(bytes, &reason);
  else
    rows = OpenWithStb(bytes, &reason);
  if (!rows && error) *error = reason;
  return rows;
}

std::optional<Picture> DecodePicture(std::span<const uint8_t> bytes, std::string* error) {
  const auto rows = OpenPicture(bytes, error);
  if (!rows) return std::nullopt;
  Picture picture;
  picture.width = rows->Info().width;
  picture.height = rows->Info().height;
  picture.hasAlpha = rows->Info().hasAlpha;
  picture.fileFormat = rows->Info().fileFormat;
  picture.argb.resize(size_t(picture.width) * picture.height);
  for (uint32_t y = 0; y < picture.height; ++y) {
    if (!rows->Read(&picture.argb[size_t(y) * picture.width])) {
      if (error) *error = rows->Error();
      return std::nullopt;
    }
  }
  return picture;
}

}  // namespace gfx::image
