#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/hresult.h"
#include "platform/gfx/image/float_image.h"
#include "platform/gfx/texture.h"

namespace gfx::image {

// Replaces a whole level with packed rows (TextureFormatInfo::Pitch) in the texture's format:
// through a lock where the texture has a CPU copy, else straight to the GPU.
HResult StoreLevel(Texture* texture, uint32_t level, const std::vector<uint8_t>& packed);

// Makes every pixel of exactly the 0xAARRGGBB colour `key` transparent black (0 does nothing).
void ApplyColorKey(FloatImage& image, uint32_t key);

}  // namespace gfx::image
