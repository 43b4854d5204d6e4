#include "player/render/render_target_set.h"

#include "platform/gfx/device.h"
#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/surface.h"
#include "player/device/device_values.h"

bool RenderTargetSet::Create(uint32_t w, uint32_t h) {
  width = w;
  height = h;
  if (w == 0 || h == 0) return false;
  Release();
  gfx::Device* device = CurrentDevice();
  if (device == nullptr) return false;
  for (ComRef<gfx::Texture>& slot : textures) {
    gfx::Texture* texture = nullptr;
    if (gfx::Failed(device->CreateTexture(w, h, 1, gfx::Usage::RenderTarget, gfx::Format::A8R8G8B8,
                                          gfx::Pool::Default, &texture))) {
      return false;
    }
    slot.Reset(texture);
  }
  current = textures[currentIndex];
  gfx::SurfaceDesc desc;
  current->GetLevelDesc(0, &desc);
  width = desc.width;
  height = desc.height;
  return true;
}

bool RenderTargetSet::CreateFrom(gfx::Texture* source, uint32_t w, uint32_t h) {
  if (!Create(w, h)) return false;
  if (source == nullptr) return true;
  width = w;
  height = h;
  gfx::ComPtr<gfx::Surface> from, to;
  if (gfx::Failed(source->GetSurfaceLevel(0, from.Put())) ||
      gfx::Failed(current->GetSurfaceLevel(0, to.Put()))) {
    return true;
  }
  D3DXLoadSurfaceFromSurface(to.Get(), nullptr, from.Get(), nullptr, D3DX_FILTER_TRIANGLE, 0);
  return true;
}

void RenderTargetSet::Release() {
  current.Reset();
  for (ComRef<gfx::Texture>& slot : textures)
    slot.Reset();
}
