#pragma once

#include <array>
#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/texture.h"

// Three A8R8G8B8 render targets of one size that renderers and effects draw into off screen and
// swap between: two ping-pong targets (0 and 1) and a spare (2), `current` being the one drawn
// into. Empty until Create; its owner calls Release on a device loss and makes it again after
// the reset.
class RenderTargetSet {
 public:
  // Makes the three targets (w x h, one level, default pool); `current` is the one at
  // currentIndex. False, making nothing, for a zero size; false at the first target that cannot
  // be made.
  bool Create(uint32_t w, uint32_t h);
  // Create, then a copy of `source`'s level 0 (when there is a source) scaled into the current
  // target.
  bool CreateFrom(gfx::Texture* source, uint32_t w, uint32_t h);
  // Releases every texture; the size stays.
  void Release();

  uint32_t width = 0;
  uint32_t height = 0;
  ComRef<gfx::Texture> current;
  std::array<ComRef<gfx::Texture>, 3> textures;
  int currentIndex = 0;
};
