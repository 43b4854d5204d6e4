#pragma once

// Pixels in and out of the graphics device for tests, as 0xAARRGGBB words row by row from the
// top.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/device.h"

namespace gfx_test {

inline std::vector<uint32_t> SurfacePixels(gfx::Surface* surface) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  EXPECT_EQ(surface->ReadPixels(&bytes, &pitch), gfx::kOk);
  std::vector<uint32_t> out(surface->Width() * surface->Height());
  for (uint32_t y = 0; y < surface->Height(); ++y)
    std::memcpy(&out[y * surface->Width()], bytes.data() + y * pitch, surface->Width() * 4);
  return out;
}

inline std::vector<uint32_t> TexturePixels(gfx::Texture* texture) {
  gfx::ComPtr<gfx::Surface> surface;
  EXPECT_EQ(texture->GetSurfaceLevel(0, surface.Put()), gfx::kOk);
  return SurfacePixels(surface.Get());
}

inline std::vector<uint32_t> BackBufferPixels(gfx::Device* device) {
  gfx::ComPtr<gfx::Surface> bb;
  EXPECT_EQ(device->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, bb.Put()), gfx::kOk);
  return SurfacePixels(bb.Get());
}

// A managed texture of one level from 32-bit texels.
inline gfx::ComPtr<gfx::Texture> TextureFromTexels(gfx::Device* device, uint32_t width,
                                                   uint32_t height,
                                                   const std::vector<uint32_t>& texels,
                                                   gfx::Format format = gfx::Format::A8R8G8B8) {
  gfx::ComPtr<gfx::Texture> t;
  EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, gfx::Pool::Managed, t.Put()),
            gfx::kOk);
  gfx::LockedRect r;
  EXPECT_EQ(t->LockRect(0, &r, nullptr, 0), gfx::kOk);
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(static_cast<uint8_t*>(r.bits) + y * r.pitch, &texels[y * width], width * 4);
  t->UnlockRect(0);
  return t;
}

}  // namespace gfx_test
