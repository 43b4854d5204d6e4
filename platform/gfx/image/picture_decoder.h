#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/gfx/image/float_image.h"

namespace gfx::image {

// A decoded PNG, JPEG, BMP, TGA or GIF (its first frame).
struct Picture {
  FloatImage image;
  bool hasAlpha = false;  // the file stores alpha (a GIF: some pixel is not opaque)
  D3DXIMAGE_FILEFORMAT fileFormat = D3DXIMAGE_FILEFORMAT::BMP;
};

// Decodes a picture; nothing (with the reason in `error`) when the bytes are not one of the
// formats above, are damaged, or give a picture wider or higher than kMaxPictureSize.
std::optional<Picture> DecodePicture(std::span<const uint8_t> bytes, std::string* error = nullptr);

}  // namespace gfx::image
