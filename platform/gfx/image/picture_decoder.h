#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/image/d3dx_image_types.h"

namespace gfx::image {

inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 26;

// A decoded PNG, JPEG, BMP, TGA or GIF (its first frame): 0xAARRGGBB words, row by row from
// the top, which are A8R8G8B8 bytes in memory.
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
  bool hasAlpha = false;  // the file stores alpha (a GIF: some pixel is not opaque)
  D3DXIMAGE_FILEFORMAT fileFormat = D3DXIMAGE_FILEFORMAT::BMP;
};

// Decodes a picture; nothing (with the reason in `error`) when the bytes are not one of the
// formats above or are damaged, when the picture is wider or higher than kMaxPictureSize, or
// when it has more pixels than kMaxPicturePixels or than its bytes can plausibly hold (4096
// a byte, beyond the first million), so that a small file cannot claim a huge picture.
std::optional<Picture> DecodePicture(std::span<const uint8_t> bytes, std::string* error = nullptr);

}  // namespace gfx::image
