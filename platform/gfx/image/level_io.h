#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gfx/hresult.h"
#include "platform/gfx/image/float_image.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture.h"

namespace gfx::image {

// Replaces a whole level with packed rows (TextureFormatInfo::Pitch) in the texture's format
// (Texture::WriteLevel: no lock, so a texture without a kept CPU copy reads nothing back).
HResult StoreLevel(Texture* texture, uint32_t level, const std::vector<uint8_t>& packed);

// A level of `format` at width x height made from the rows of a picture of sourceWidth x
// sourceHeight: colour key first, then the filter (ResampleRows), then the format. Row by row,
// so that only the level itself is held whole. Nothing when a row cannot be read.
std::optional<std::vector<uint8_t>> ResampleToLevel(const RowReader& read, uint32_t sourceWidth,
                                                    uint32_t sourceHeight, uint32_t colorKey,
                                                    Format format, uint32_t width, uint32_t height,
                                                    uint32_t filter);

// Makes every pixel of exactly the 0xAARRGGBB colour `key` transparent black (0 does nothing).
void ApplyColorKey(FloatImage& image, uint32_t key);
void ApplyColorKey(Color4* pixels, size_t count, uint32_t key);

}  // namespace gfx::image
