#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/surface_pixels.h"
#include "platform/headless_sdl.h"
#include "player/device/device_values.h"

namespace render_test {

// A headless device of the given back-buffer size, installed as the process's device for the
// test's duration.
class RenderTest : public ::testing::Test {
 protected:
  explicit RenderTest(uint32_t width = 64, uint32_t height = 64) : width_(width), height_(height) {}

  void SetUp() override {
    UseHeadlessSdl();
    ASSERT_EQ(gfx::Device::CreateHeadless(width_, height_, device_.Put(), gfx::Format::A8R8G8B8),
              gfx::kOk);
    GetDeviceValues() = DeviceValues{device_.Get(), width_, height_};
    device_->SetRenderState(gfx::RenderState::Lighting, 0);
    device_->SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
    device_->SetRenderState(gfx::RenderState::ZEnable, 0);
  }
  void TearDown() override { GetDeviceValues() = DeviceValues{}; }

  // The pixels of a surface as 0xAARRGGBB words, row by row from the top.
  static std::vector<uint32_t> Pixels(gfx::Surface* surface) {
    return gfx_test::SurfacePixels(surface);
  }
  static std::vector<uint32_t> Pixels(gfx::Texture* texture) {
    return gfx_test::TexturePixels(texture);
  }
  std::vector<uint32_t> BackBufferPixels() { return gfx_test::BackBufferPixels(device_.Get()); }
  gfx::ComPtr<gfx::Surface> BackBuffer() {
    gfx::ComPtr<gfx::Surface> bb;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, bb.Put()), gfx::kOk);
    return bb;
  }

  // A managed A8R8G8B8 texture from 0xAARRGGBB texels, row by row from the top.
  gfx::ComPtr<gfx::Texture> MakeTexture(uint32_t width, uint32_t height,
                                        const std::vector<uint32_t>& texels,
                                        gfx::Format format = gfx::Format::A8R8G8B8) {
    return gfx_test::TextureFromTexels(device_.Get(), width, height, texels, format);
  }

  uint32_t width_, height_;
  gfx::ComPtr<gfx::Device> device_;
};

// Reference count of a device object (adds and drops one reference).
inline uint32_t RefCount(gfx::Unknown* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace render_test
