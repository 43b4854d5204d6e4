#include "player/render/device_desc.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"

namespace {

gfx::SurfaceDesc& Describe(gfx::Surface* surface, gfx::SurfaceDesc& out) {
  out = gfx::SurfaceDesc{};
  if (surface != nullptr) {
    if (gfx::Failed(surface->GetDesc(&out))) out = gfx::SurfaceDesc{};
    surface->Release();
  }
  return out;
}

}  // namespace

gfx::SurfaceDesc& GetBackBufferDesc(gfx::SurfaceDesc& out) {
  gfx::Surface* surface = nullptr;
  gfx::Device* device = CurrentDevice();
  if (device && gfx::Failed(device->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, &surface)))
    surface = nullptr;
  return Describe(surface, out);
}

gfx::SurfaceDesc& GetRenderTargetDesc(gfx::SurfaceDesc& out) {
  gfx::Surface* surface = nullptr;
  gfx::Device* device = CurrentDevice();
  if (device && gfx::Failed(device->GetRenderTarget(0, &surface))) surface = nullptr;
  return Describe(surface, out);
}
