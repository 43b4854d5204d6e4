#include "platform/gfx/image/picture_decoder.h"

#include <climits>
#include <cstring>
#include <memory>

#include "platform/gfx/image/dds_reader.h"

// stb_image, private to this file: the formats the player reads, from memory only, and no
// picture larger than the player takes.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

namespace gfx::image {

namespace {

D3DXIMAGE_FILEFORMAT FileFormat(std::span<const uint8_t> b) {
  auto starts = [&](const char* tag, size_t n) {
    return b.size() >= n && std::memcmp(b.data(), tag, n) == 0;
  };
  if (starts("\x89PNG", 4)) return D3DXIMAGE_FILEFORMAT::PNG;
  if (starts("\xFF\xD8", 2)) return D3DXIMAGE_FILEFORMAT::JPG;
  if (starts("GIF8", 4)) return D3DXIMAGE_FILEFORMAT::GIF;
  if (starts("BM", 2)) return D3DXIMAGE_FILEFORMAT::BMP;
  return D3DXIMAGE_FILEFORMAT::TGA;  // the one format without a tag
}

std::optional<Picture> Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
  return std::nullopt;
}

bool Plausible(int width, int height, size_t bytes) {
  if (width <= 0 || height <= 0 || uint32_t(width) > kMaxPictureSize ||
      uint32_t(height) > kMaxPictureSize)
    return false;
  const uint64_t pixels = uint64_t(width) * uint64_t(height);
  return pixels <= kMaxPicturePixels && pixels <= uint64_t(bytes) * 4096 + (1u << 20);
}

}  // namespace

std::optional<Picture> DecodePicture(std::span<const uint8_t> bytes, std::string* error) {
  if (bytes.empty() || bytes.size() > size_t(INT_MAX)) return Fail(error, "no picture data");
  const int length = int(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels))
    return Fail(error, stbi_failure_reason());
  if (!Plausible(width, height, bytes.size())) return Fail(error, "picture too large");

  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4), stbi_image_free);
  if (!rgba) return Fail(error, stbi_failure_reason());
  if (!Plausible(width, height, bytes.size())) return Fail(error, "picture too large");

  Picture picture;
  picture.fileFormat = FileFormat(bytes);
  picture.width = uint32_t(width);
  picture.height = uint32_t(height);
  picture.argb.resize(size_t(picture.width) * picture.height);
  const stbi_uc* p = rgba.get();
  bool translucent = false;
  for (uint32_t& c : picture.argb) {
    c = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    translucent |= p[3] != 255;
    p += 4;
  }
  // Grey and alpha, or colour and alpha; a GIF always decodes to four channels.
  picture.hasAlpha = picture.fileFormat == D3DXIMAGE_FILEFORMAT::GIF
                         ? translucent
                         : channels == 2 || channels == 4;
  return picture;
}

}  // namespace gfx::image
