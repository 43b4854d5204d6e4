#pragma once

#include <cstdint>

#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/gfx/image/float_image.h"

namespace gfx::image {

// A picture brought to width x height with a D3DX filter:
// NONE copies it unscaled to the top-left corner and leaves the rest transparent black;
// POINT takes the nearest pixel; LINEAR and TRIANGLE weigh neighbours with a tent filter;
// BOX averages the pixels each target pixel covers. Unknown filters act as TRIANGLE.
FloatImage Resample(const FloatImage& source, uint32_t width, uint32_t height, uint32_t filter);

// The next mip level (half size, at least 1) made with the given mip filter; D3DX_DEFAULT
// means BOX. NONE leaves the level transparent black.
FloatImage NextMipLevel(const FloatImage& level, uint32_t mipFilter);

}  // namespace gfx::image
