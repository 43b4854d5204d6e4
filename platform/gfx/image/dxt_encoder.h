#pragma once

#include <cstdint>

#include "platform/gfx/formats.h"

namespace gfx::image {

// Compresses one 4 x 4 block of RGBA bytes (row by row) into DXT1 (8 bytes), DXT3 or DXT5
// (16 bytes). DXT1 keeps pixels with alpha below 128 as transparent black.
void EncodeDxtBlock(Format format, const uint8_t rgba[16][4], uint8_t* out);

}  // namespace gfx::image
