#include "player/render/render_target_set.h"

#include <utility>

#include "platform/gfx/device.h"
#include "platform/gfx/image/d3dx_texture.h"
#include "player/device/device_values.h"
#include "player/render/shared_targets.h"

void SetTextureAsTarget(gfx::Texture* texture) {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || texture == nullptr) return;
  gfx::Surface* surface = nullptr;
  if (gfx::Failed(texture->GetSurfaceLevel(0, &surface))) return;
  device->SetRenderTarget(0, surface);
  surface->Release();
}

void SaveRenderTargets(ComRef<gfx::Surface>& target, ComRef<gfx::Surface>& depth) {
  target.Reset();
  depth.Reset();
  gfx::Device* device = CurrentDevice();
  if (device == nullptr) return;
  // A slot that holds nothing answers kNotFound and stays empty here.
  gfx::Surface* surface = nullptr;
  if (gfx::Succeeded(device->GetRenderTarget(0, &surface))) target.Reset(surface);
  surface = nullptr;
  if (gfx::Succeeded(device->GetDepthStencilSurface(&surface))) depth.Reset(surface);
}

ComRef<gfx::Texture> MakeRenderTarget(uint32_t w, uint32_t h) {
  ComRef<gfx::Texture> out;
  gfx::Device* device = CurrentDevice();
  gfx::Texture* made = nullptr;
  if (device != nullptr && w != 0 && h != 0 &&
      gfx::Succeeded(device->CreateTexture(w, h, 1, gfx::Usage::RenderTarget, gfx::Format::A8R8G8B8,
                                           gfx::Pool::Default, &made)))
    out.Reset(made);
  return out;
}

bool CreateAtBackBufferMultiple(RenderTargetSet& set) {
  const DeviceValues& values = GetDeviceValues();
  // Multiples past the device's largest texture would only be refused: they are passed over,
  // which chooses the same size without a failed call.
  gfx::Caps caps;
  gfx::Device* device = CurrentDevice();
  const bool capsKnown = device != nullptr && gfx::Succeeded(device->GetDeviceCaps(&caps));
  for (uint32_t n = values.targetScaleLimit; n >= 1; --n) {
    const uint64_t w = uint64_t(n) * values.backBufferWidth;
    const uint64_t h = uint64_t(n) * values.backBufferHeight;
    if (n > 1 && capsKnown && (w > caps.maxTextureWidth || h > caps.maxTextureHeight)) continue;
    set.shared = true;
    if (set.Create(uint32_t(w), uint32_t(h))) return true;
  }
  return false;
}

bool RenderTargetSet::Create(uint32_t w, uint32_t h) {
  width = w;
  height = h;
  if (w == 0 || h == 0) return false;
  ReleaseTextures();
  for (ComRef<gfx::Texture>& slot : textures) {
    slot = shared ? shared_targets::Take(w, h) : MakeRenderTarget(w, h);
    if (!slot) {
      // All or nothing: a set with only some targets would swap in missing ones later.
      ReleaseTextures();
      return false;
    }
  }
  current = textures[currentIndex];
  gfx::SurfaceDesc desc;
  if (gfx::Succeeded(current->GetLevelDesc(0, &desc))) {
    width = desc.width;
    height = desc.height;
  }
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
  // The targets are made either way; a copy that fails leaves the new target as it was made.
  (void)D3DXLoadSurfaceFromSurface(to.Get(), nullptr, from.Get(), nullptr, D3DX_FILTER_TRIANGLE, 0);
  return true;
}

void RenderTargetSet::Begin() {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || !current) return;
  SaveRenderTargets(savedTarget, savedDepth);
  SetTextureAsTarget(current.Get());
  device->SetDepthStencilSurface(nullptr);
}

ComRef<gfx::Texture>* RenderTargetSet::End(bool clear) {
  gfx::Device* device = CurrentDevice();
  if (device != nullptr && savedTarget) {
    device->SetRenderTarget(0, savedTarget.Get());
    device->SetDepthStencilSurface(savedDepth.Get());
    if (clear) device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00FFFFFF, 1.0f, 0);
  }
  savedTarget.Reset();
  savedDepth.Reset();
  return &current;
}

ComRef<gfx::Texture>* RenderTargetSet::Flip(bool copy) {
  const int other = OtherIndex();
  if (!copy) {
    std::swap(textures[other], textures[2]);
  } else {
    std::swap(textures[currentIndex], textures[2]);
    Select(currentIndex);
    gfx::Device* device = CurrentDevice();
    if (device != nullptr && current)
      device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  }
  return &textures[other];
}

void RenderTargetSet::Select(int index) {
  currentIndex = index;
  current = textures[index];
  SetTextureAsTarget(current.Get());
}

void RenderTargetSet::Release() {
  ReleaseTextures();
  savedTarget.Reset();
  savedDepth.Reset();
}

void RenderTargetSet::ReleaseTextures() {
  current.Reset();
  for (ComRef<gfx::Texture>& slot : textures) {
    if (shared) shared_targets::GiveBack(slot);
    slot.Reset();
  }
}
