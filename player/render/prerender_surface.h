#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/texture.h"
#include "player/document/zkw_losable_obj.h"

// One A8R8G8B8 render target of a fixed size that is made again after a device reset, with two
// slots that keep the device's render target and depth-stencil surface while it is drawn into.
class ZKW_PrerenderSurface : public ZKW_LosableObj {
 public:
  ZKW_PrerenderSurface(uint32_t w = 0, uint32_t h = 0) : width(w), height(h) {}

  // Releases the target.
  void OnLostDevice() override { texture.Reset(); }
  // Releases the target and makes it again (nothing for a zero size).
  void OnResetDevice() override;

  uint32_t width;
  uint32_t height;
  ComRef<gfx::Texture> texture;
  ComRef<gfx::Surface> savedTarget;
  ComRef<gfx::Surface> savedDepth;
};
