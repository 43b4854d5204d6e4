// BMP, TGA and GIF pictures through stb_image: the formats libjpeg-turbo and libpng do not read.
#include <algorithm>
#include <cstring>

#include "platform/gfx/image/picture_formats.h"

// stb_image, private to this file: those formats only, from memory only, and no picture larger
// than the player takes.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

namespace gfx::image {

namespace {

// stb decodes the whole picture; rows are handed out from its buffer.
class StbRows final : public PictureRows {
 public:
  StbRows(std::unique_ptr<stbi_uc, void (*)(void*)> rgba, const PictureInfo& info)
      : rgba_(std::move(rgba)) {
    info_ = info;
  }

  bool Read(uint32_t* row) override {
    if (y_ >= info_.height) {
      error_ = "no more rows";
      return false;
    }
    const stbi_uc* p = rgba_.get() + size_t(y_++) * info_.width * 4;
    for (uint32_t x = 0; x < info_.width; ++x, p += 4)
      row[x] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    return true;
  }

 private:
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba_;
  uint32_t y_ = 0;
};

D3DXIMAGE_FILEFORMAT FileFormat(std::span<const uint8_t> b) {
  if (b.size() >= 4 && std::memcmp(b.data(), "GIF8", 4) == 0) return D3DXIMAGE_FILEFORMAT::GIF;
  if (b.size() >= 2 && std::memcmp(b.data(), "BM", 2) == 0) return D3DXIMAGE_FILEFORMAT::BMP;
  return D3DXIMAGE_FILEFORMAT::TGA;  // the one format without a tag
}

}  // namespace

std::unique_ptr<PictureRows> OpenWithStb(std::span<const uint8_t> bytes, std::string* error) {
  const int length = int(bytes.size());  // OpenPicture takes no more than INT_MAX bytes
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) {
    *error = stbi_failure_reason();
    return nullptr;
  }
  if (!PlausiblePictureSize(uint64_t(std::max(width, 0)), uint64_t(std::max(height, 0)),
                            bytes.size())) {
    *error = "picture too large";
    return nullptr;
  }
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4), stbi_image_free);
  if (!rgba) {
    *error = stbi_failure_reason();
    return nullptr;
  }
  if (!PlausiblePictureSize(uint64_t(std::max(width, 0)), uint64_t(std::max(height, 0)),
                            bytes.size())) {
    *error = "picture too large";
    return nullptr;
  }
  PictureInfo info;
  info.fileFormat = FileFormat(bytes);
  info.width = uint32_t(width);
  info.height = uint32_t(height);
  // Grey and alpha, or colour and alpha; a GIF always decodes to four channels and has alpha
  // when some pixel is not opaque.
  info.hasAlpha = channels == 2 || channels == 4;
  if (info.fileFormat == D3DXIMAGE_FILEFORMAT::GIF) {
    info.hasAlpha = false;
    const size_t pixels = size_t(info.width) * info.height;
    for (size_t i = 0; i < pixels && !info.hasAlpha; ++i)
      info.hasAlpha = rgba.get()[4 * i + 3] != 255;
  }
  return std::make_unique<StbRows>(std::move(rgba), info);
}

}  // namespace gfx::image
