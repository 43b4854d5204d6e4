#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/formats.h"
#include "platform/gfx/texture.h"

// Multiplies the colour of every pixel of level 0 by its alpha, rounding: c x a / 255. DXT1
// textures are left as they are (true); any format but A8R8G8B8 answers false, as does a
// texture that cannot be locked.
bool PremultiplyTextureAlpha(gfx::Texture* texture);

// A managed copy of `source` with a full mip chain: `out` becomes a w x h texture of `format`
// (Unknown: A8R8G8B8) into whose level 0 the source's level 0 is scaled with a triangle filter.
// Without a source `out` is left empty.
ComRef<gfx::Texture>& CopyTexture(gfx::Texture* source, ComRef<gfx::Texture>& out, uint32_t w,
                                  uint32_t h, gfx::Format format);

// Replaces `copy` by a (128 << shift)-pixel square copy of `picture` (CopyTexture with the
// picture's format). Shifts outside 0..7 are taken as the nearest of them.
void MakeSquareCopy(gfx::Texture* picture, ComRef<gfx::Texture>& copy, int shift);

struct ImageTextureSet;
struct TextureRef;

// `out` = the set's first texture (referenced; none when the set has none) with the set's
// width, height and aspect.
TextureRef& MakeTextureRef(const ImageTextureSet& set, TextureRef& out);
