#include "player/render/prerender_surface.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"

void ZKW_PrerenderSurface::OnResetDevice() {
  OnLostDevice();
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || width == 0 || height == 0) return;
  gfx::Texture* made = nullptr;
  if (gfx::Succeeded(device->CreateTexture(width, height, 1, gfx::Usage::RenderTarget,
                                           gfx::Format::A8R8G8B8, gfx::Pool::Default, &made)))
    texture.Reset(made);
}
