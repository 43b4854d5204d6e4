#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/shader_program.h"
#include "platform/gfx/surface_pixels.h"
#include "platform/headless_sdl.h"
#include "platform/math/d3dx_math.h"

namespace gfx_test {

using namespace gfx;

// Vertex layouts of the tests.
struct ScreenVertex {  // XYZRHW | DIFFUSE | TEX1
  float x, y, z, rhw;
  uint32_t color;
  float u, v;
};
inline constexpr uint32_t kScreenFvf = Fvf::XyzRhw | Fvf::Diffuse | Fvf::Tex1;

struct ColorVertex {  // XYZ | DIFFUSE
  float x, y, z;
  uint32_t color;
};
inline constexpr uint32_t kColorFvf = Fvf::Xyz | Fvf::Diffuse;

// A headless device with an 8 x 8 back buffer and helpers to draw and read pixels back.
class GfxTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSize = 8;

  void SetUp() override {
    UseHeadlessSdl();
    ASSERT_EQ(Device::CreateHeadless(kSize, kSize, device_.Put(), Format::A8R8G8B8), kOk);
    // Plain drawing: no lighting, no culling, no depth.
    device_->SetRenderState(RenderState::Lighting, 0);
    device_->SetRenderState(RenderState::CullMode, Cull::None);
    device_->SetRenderState(RenderState::ZEnable, 0);
  }

  template <typename V>
  ComPtr<VertexBuffer> MakeVertices(std::initializer_list<V> vertices, uint32_t fvf) {
    ComPtr<VertexBuffer> vb;
    EXPECT_EQ(device_->CreateVertexBuffer(uint32_t(vertices.size() * sizeof(V)), Usage::WriteOnly,
                                          fvf, Pool::Managed, vb.Put()),
              kOk);
    void* p = nullptr;
    EXPECT_EQ(vb->Lock(0, 0, &p, 0), kOk);
    std::memcpy(p, vertices.begin(), vertices.size() * sizeof(V));
    vb->Unlock();
    return vb;
  }

  // A strip quad of pre-transformed vertices covering [x0, x1) x [y0, y1) with texture
  // coordinates (u0, v0) at the top-left and (u1, v1) at the bottom-right.
  ComPtr<VertexBuffer> ScreenQuad(float x0, float y0, float x1, float y1, uint32_t color,
                                  float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
    return MakeVertices<ScreenVertex>({{x0, y1, 0.5f, 1, color, u0, v1},
                                       {x0, y0, 0.5f, 1, color, u0, v0},
                                       {x1, y1, 0.5f, 1, color, u1, v1},
                                       {x1, y0, 0.5f, 1, color, u1, v0}},
                                      kScreenFvf);
  }

  void DrawStrip(VertexBuffer* vb, uint32_t fvf, uint32_t stride, uint32_t primitives = 2) {
    ASSERT_EQ(device_->SetFVF(fvf), kOk);
    ASSERT_EQ(device_->SetStreamSource(0, vb, 0, stride), kOk);
    ASSERT_EQ(device_->DrawPrimitive(PrimitiveType::TriangleStrip, 0, primitives), kOk);
  }

  void DrawScreenQuad(float x0, float y0, float x1, float y1, uint32_t color, float u0 = 0,
                      float v0 = 0, float u1 = 1, float v1 = 1) {
    auto vb = ScreenQuad(x0, y0, x1, y1, color, u0, v0, u1, v1);
    DrawStrip(vb.Get(), kScreenFvf, sizeof(ScreenVertex));
  }

  // A managed A8R8G8B8 texture from 0xAARRGGBB texels, row by row from the top.
  ComPtr<Texture> MakeTexture(uint32_t width, uint32_t height, const std::vector<uint32_t>& texels,
                              Format format = Format::A8R8G8B8) {
    return TextureFromTexels(device_.Get(), width, height, texels, format);
  }

  // The pixels of a surface as 0xAARRGGBB words, row by row from the top.
  static std::vector<uint32_t> Pixels(Surface* surface) { return SurfacePixels(surface); }
  std::vector<uint32_t> BackBufferPixels() { return gfx_test::BackBufferPixels(device_.Get()); }

  uint32_t Pixel(int x, int y) { return BackBufferPixels()[y * kSize + x]; }

  ComPtr<Device> device_;
};

// Each channel of two 0xAARRGGBB colours within `tolerance`.
inline ::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance = 2) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    if (a - e > tolerance || e - a > tolerance)
      return ::testing::AssertionFailure()
             << std::hex << "0x" << actual << " is not near 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace gfx_test
