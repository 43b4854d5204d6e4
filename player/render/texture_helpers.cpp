#include "player/render/texture_helpers.h"

#include "platform/gfx/image/d3dx_texture.h"
#include "player/device/device_values.h"
#include "player/document/image_texture_set.h"
#include "player/resources/texture_ref.h"

bool PremultiplyTextureAlpha(gfx::Texture* texture) {
  if (texture == nullptr) return false;
  gfx::SurfaceDesc desc;
  if (gfx::Failed(texture->GetLevelDesc(0, &desc))) return false;
  if (desc.format == gfx::Format::Dxt1) return true;
  if (desc.format != gfx::Format::A8R8G8B8) return false;
  gfx::LockedRect locked;
  if (gfx::Failed(texture->LockRect(0, &locked, nullptr, 0))) return false;
  for (uint32_t y = 0; y < desc.height; ++y) {
    uint8_t* pixel = static_cast<uint8_t*>(locked.bits) + static_cast<size_t>(y) * locked.pitch;
    for (uint32_t x = 0; x < desc.width; ++x, pixel += 4) {
      const unsigned alpha = pixel[3];
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<uint8_t>((pixel[c] * alpha + 127) / 255);
    }
  }
  texture->UnlockRect(0);
  return true;
}

ComRef<gfx::Texture>& CopyTexture(gfx::Texture* source, ComRef<gfx::Texture>& out, uint32_t w,
                                  uint32_t h, gfx::Format format) {
  gfx::Device* device = CurrentDevice();
  if (source == nullptr || device == nullptr) return out;
  gfx::Texture* copy = nullptr;
  if (gfx::Failed(D3DXCreateTexture(device, w, h, 0, 0, format, gfx::Pool::Managed, &copy)))
    return out;
  out.Reset(copy);
  gfx::ComPtr<gfx::Surface> from, to;
  if (gfx::Succeeded(source->GetSurfaceLevel(0, from.Put())) &&
      gfx::Succeeded(copy->GetSurfaceLevel(0, to.Put()))) {
    // The copy is kept either way; one that fails to fill stays as made.
    (void)D3DXLoadSurfaceFromSurface(to.Get(), nullptr, from.Get(), nullptr, D3DX_FILTER_TRIANGLE,
                                     0);
  }
  return out;
}

void MakeSquareCopy(gfx::Texture* picture, ComRef<gfx::Texture>& copy, int shift) {
  const int s = shift < 0 ? 0 : (shift > 7 ? 7 : shift);
  const uint32_t size = 128u << s;
  ComRef<gfx::Texture> made;
  CopyTexture(picture, made, size, size, gfx::Format::Unknown);
  if (made) copy = made;
}

TextureRef& MakeTextureRef(const ImageTextureSet& set, TextureRef& out) {
  out.texture = set.textures.empty() ? ComRef<gfx::Texture>() : set.textures.front();
  out.width = set.width;
  out.height = set.height;
  out.aspect = set.aspect;
  return out;
}
