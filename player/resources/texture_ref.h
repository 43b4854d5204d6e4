#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/texture.h"

// A texture with the size of the picture it was made from (which may differ from the
// texture's) and that size's aspect, height / width. The empty value has no texture, size 0 and
// aspect 1.
struct TextureRef {
  ComRef<gfx::Texture> texture;
  uint32_t width = 0;
  uint32_t height = 0;
  float aspect = 1.0f;
};
