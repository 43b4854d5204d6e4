#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/hresult.h"
#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/texture.h"

namespace gfx::image {

// The DDS file of a picture in one of the formats ReadDds reads, with the levels it holds (each
// packed at TextureFormatInfo::Pitch). Empty for another format, a size of 0 or above
// kMaxPictureSize, no levels, more levels than the full chain, or a level whose bytes do not
// match its size.
std::vector<uint8_t> WriteDds(const DdsImage& image);

// A DDS file of level 0 of `texture` in the texture's own format, as D3DX saves a texture:
// kInvalidCall (and `out` empty) when the level cannot be read or its format has no DDS form.
HResult SaveTextureAsDds(const Texture* texture, std::vector<uint8_t>* out);

}  // namespace gfx::image
