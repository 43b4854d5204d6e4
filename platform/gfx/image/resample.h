#pragma once

#include <cstdint>
#include <functional>

#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/gfx/image/float_image.h"

namespace gfx::image {

// The rows of a picture, top to bottom: each call fills the next row; false when the picture
// turns out damaged.
using RowReader = std::function<bool(Color4* row)>;
// Receives the rows of a result, top to bottom, each once.
using RowWriter = std::function<void(uint32_t y, const Color4* row)>;

// A picture of sourceWidth x sourceHeight brought to width x height with a D3DX filter:
// NONE copies it unscaled to the top-left corner and leaves the rest transparent black;
// POINT takes the nearest pixel; LINEAR and TRIANGLE weigh neighbours with a tent filter;
// BOX averages the pixels each target pixel covers. Unknown filters act as TRIANGLE.
// Source rows are read in order, as far down as needed, and only the few that one target row
// draws on are kept, so that a large picture is never held whole. False when a read fails.
bool ResampleRows(uint32_t sourceWidth, uint32_t sourceHeight, const RowReader& read,
                  uint32_t width, uint32_t height, uint32_t filter, const RowWriter& write);

// The same on a picture in memory.
FloatImage Resample(const FloatImage& source, uint32_t width, uint32_t height, uint32_t filter);

// The next mip level (half size, at least 1) made with the given mip filter; D3DX_DEFAULT
// means BOX. NONE leaves the level transparent black.
FloatImage NextMipLevel(const FloatImage& level, uint32_t mipFilter);
// The filter NextMipLevel uses for `mipFilter` (NONE stays NONE: the caller leaves the level
// transparent black).
uint32_t MipLevelFilter(uint32_t mipFilter);

}  // namespace gfx::image
