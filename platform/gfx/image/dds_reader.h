#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/formats.h"

namespace gfx::image {

// A DDS picture in its own format: A8R8G8B8, X8R8G8B8, A8, V8U8, V16U16 or DXT1/3/5, with the
// mip levels the file holds. Each level's bytes are packed rows (of 4 x 4 blocks for DXT) at
// TextureFormatInfo::Pitch, top row first, as textures store them.
struct DdsImage {
  Format format = Format::Unknown;
  uint32_t width = 0, height = 0;
  std::vector<std::vector<uint8_t>> levels;
};

// Largest width or height read from a picture file.
inline constexpr uint32_t kMaxPictureSize = 16384;

// True when the bytes start with the "DDS " tag.
bool LooksLikeDds(std::span<const uint8_t> bytes);

// Reads a 2D DDS picture. Nothing (with the reason in `error`) for another tag, a cube or
// volume map, a format not listed above, a size of 0 or above kMaxPictureSize, or levels that
// the bytes do not hold in full.
std::optional<DdsImage> ReadDds(std::span<const uint8_t> bytes, std::string* error = nullptr);

}  // namespace gfx::image
