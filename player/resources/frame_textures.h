#pragma once

#include <cstdint>
#include <vector>

#include "core/picture/frame_list.h"
#include "core/sequence/link_texture_set.h"

// Makes one managed texture per frame into the set (a frame that cannot be decoded leaves a null
// texture in its slot), with the frames' delays. Textures take the picture's size rounded up to
// powers of two, one level, DXT1 when `compress` and else the picture's own format, and
// `filter` (a D3DX filter) to bring the picture to that size.
//
// The set's source size is that of the last frame that could be decoded. With a first texture,
// the texture size is its level 0 and the used fractions are source / texture size, unless the
// filter scaled the picture to fill the texture (any filter but NONE), which makes them 1.
void CreateFrameTextures(LinkTextureSet& set, const std::vector<PictureFrame>& frames,
                         bool compress, uint32_t filter);
