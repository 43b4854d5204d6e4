#include "player/render/device_desc.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"

namespace {

gfx::SurfaceDesc& Describe(gfx::Surface* surface, gfx::SurfaceDesc& out) {
  out = gfx::SurfaceDesc{};
  if (surface != nullptr) {
    surface->GetDesc(&out);
    surface->Release();
  }
  return out;
}

}  // namespace

gfx::SurfaceDesc& GetBackBufferDesc(gfx::SurfaceDesc& out) {
  gfx::Surface* surface = nullptr;
  if (gfx::Device* device = CurrentDevice())
    device->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, &surface);
  return Describe(surface, out);
}

gfx::SurfaceDesc& GetRenderTargetDesc(gfx::SurfaceDesc& out) {
  gfx::Surface* surface = nullptr;
  if (gfx::Device* device = CurrentDevice()) device->GetRenderTarget(0, &surface);
  return Describe(surface, out);
}
