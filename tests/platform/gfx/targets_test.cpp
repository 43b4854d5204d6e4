#include <algorithm>
#include <functional>

#include "gfx_fixture.h"

namespace gfx_test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlack = 0xFF000000;
constexpr uint32_t kTestSize = 8;  // the fixture's back buffer

class TargetTest : public GfxTest {
 protected:
  ComPtr<Texture> MakeTarget(uint32_t size) {
    ComPtr<Texture> t;
    EXPECT_EQ(device_->CreateTexture(size, size, 1, Usage::RenderTarget, Format::A8R8G8B8,
                                     Pool::Default, t.Put()),
              kOk);
    return t;
  }
  ComPtr<Surface> Level0(Texture* t) {
    ComPtr<Surface> s;
    EXPECT_EQ(t->GetSurfaceLevel(0, s.Put()), kOk);
    return s;
  }
  static bool TopHalfRed(const std::vector<uint32_t>& pixels, uint32_t size) {
    for (uint32_t y = 0; y < size; ++y)
      for (uint32_t x = 0; x < size; ++x)
        if (pixels[y * size + x] != (y < size / 2 ? kRed : kBlack)) return false;
    return true;
  }
};

// A picture drawn into A, copied through B onto the back buffer: row 0 is the top everywhere.
TEST_F(TargetTest, PingPongKeepsRowZeroAtTheTop) {
  ComPtr<Surface> backBuffer;
  ASSERT_EQ(device_->GetRenderTarget(0, backBuffer.Put()), kOk);
  auto a = MakeTarget(kSize), b = MakeTarget(kSize);
  auto surfaceA = Level0(a.Get()), surfaceB = Level0(b.Get());

  ASSERT_EQ(device_->SetRenderTarget(0, surfaceA.Get()), kOk);
  device_->SetDepthStencilSurface(nullptr);
  device_->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
  DrawScreenQuad(0, 0, 8, 4, kRed);
  EXPECT_TRUE(TopHalfRed(Pixels(surfaceA.Get()), kSize));

  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  for (auto [source, target] :
       {std::pair{a.Get(), surfaceB.Get()}, std::pair{b.Get(), backBuffer.Get()}}) {
    ASSERT_EQ(device_->SetRenderTarget(0, target), kOk);
    device_->SetTexture(0, source);
    DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
    device_->SetTexture(0, nullptr);
    EXPECT_TRUE(TopHalfRed(Pixels(target), kSize));
  }

  // Transformed geometry through a y-down projection agrees.
  ASSERT_EQ(device_->SetRenderTarget(0, surfaceA.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 1);
  device_->SetTransform(TransformState::Projection, &projection);
  device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
  auto vb = MakeVertices<ColorVertex>(
      {{0, 4, 0, kRed}, {0, 0, 0, kRed}, {8, 4, 0, kRed}, {8, 0, 0, kRed}}, kColorFvf);
  DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex));
  EXPECT_TRUE(TopHalfRed(Pixels(surfaceA.Get()), kSize));
}

// A new render target holds no storage until it is used; whichever use comes first (a draw into
// it, a clear, a sampling draw, a read, a lock) gives it storage that reads as a new target's,
// and drawing into it afterwards lands.
TEST_F(TargetTest, ANewTargetWorksWhateverItsFirstUse) {
  ComPtr<Surface> backBuffer;
  ASSERT_EQ(device_->GetRenderTarget(0, backBuffer.Put()), kOk);
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
  const std::pair<const char*, std::function<void(Texture*, Surface*)>> firstUses[] = {
      {"drawn into",
       [&](Texture*, Surface* s) {
         ASSERT_EQ(device_->SetRenderTarget(0, s), kOk);
         DrawScreenQuad(0, 0, 8, 8, kBlack);
       }},
      {"cleared",
       [&](Texture*, Surface* s) {
         ASSERT_EQ(device_->SetRenderTarget(0, s), kOk);
         device_->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
       }},
      {"sampled",
       [&](Texture* t, Surface*) {
         ASSERT_EQ(device_->SetRenderTarget(0, backBuffer.Get()), kOk);
         device_->SetTexture(0, t);
         device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
         DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
         device_->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
         device_->SetTexture(0, nullptr);
         const std::vector<uint32_t> pixels = Pixels(backBuffer.Get());
         EXPECT_EQ(std::count(pixels.begin(), pixels.end(), pixels[0]), ptrdiff_t(pixels.size()));
       }},
      {"read",
       [&](Texture*, Surface* s) {
         const std::vector<uint32_t> pixels = Pixels(s);
         EXPECT_EQ(std::count(pixels.begin(), pixels.end(), pixels[0]), ptrdiff_t(pixels.size()));
       }},
  };
  for (const auto& [name, use] : firstUses) {
    SCOPED_TRACE(name);
    auto target = MakeTarget(kSize);
    auto surface = Level0(target.Get());
    use(target.Get(), surface.Get());
    ASSERT_EQ(device_->SetRenderTarget(0, surface.Get()), kOk);
    device_->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
    DrawScreenQuad(0, 0, 8, 4, kRed);
    EXPECT_TRUE(TopHalfRed(Pixels(surface.Get()), kSize));
    EXPECT_EQ(device_->Gl().GetError(), GLenum(GL_NO_ERROR));
  }
  device_->SetRenderTarget(0, backBuffer.Get());
}

// One picture of every kind of drawing whose rows depend on the target: pre-transformed and
// projected quads, culling by winding, a viewport and a cleared rectangle.
void DrawRowTestPicture(Device* d,
                        const std::function<void(float, float, float, float, uint32_t)>& screenQuad,
                        const std::function<void(std::initializer_list<ColorVertex>)>& strip) {
  d->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
  screenQuad(0, 0, 4, 2, kRed);  // top left
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 1);
  d->SetTransform(TransformState::Projection, &projection);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Diffuse);
  d->SetRenderState(RenderState::CullMode, Cull::CCW);
  // Clockwise on the screen: kept. Bottom right, green.
  strip(
      {{4, 8, 0, 0xFF00FF00}, {4, 6, 0, 0xFF00FF00}, {8, 8, 0, 0xFF00FF00}, {8, 6, 0, 0xFF00FF00}});
  // Counter-clockwise: culled. It would cover the middle rows.
  strip(
      {{0, 3, 0, 0xFFFFFFFF}, {0, 5, 0, 0xFFFFFFFF}, {8, 3, 0, 0xFFFFFFFF}, {8, 5, 0, 0xFFFFFFFF}});
  d->SetRenderState(RenderState::CullMode, Cull::None);
  // A viewport over the right half of the top rows.
  const Viewport v{4, 0, 4, 2, 0.0f, 1.0f};
  d->SetViewport(&v);
  strip(
      {{0, 8, 0, 0xFFFFFF00}, {0, 0, 0, 0xFFFFFF00}, {8, 8, 0, 0xFFFFFF00}, {8, 0, 0, 0xFFFFFF00}});
  const Viewport whole{0, 0, kTestSize, kTestSize, 0.0f, 1.0f};
  d->SetViewport(&whole);
  const Rect bottomLeft{0, 6, 2, 8};
  d->Clear(1, &bottomLeft, ClearFlags::Target, 0xFF0000FF, 1.0f, 0);
}

std::vector<uint32_t> ExpectedRowTestPicture() {
  std::vector<uint32_t> p(kTestSize * kTestSize, kBlack);
  for (uint32_t y = 0; y < kTestSize; ++y)
    for (uint32_t x = 0; x < kTestSize; ++x) {
      uint32_t& c = p[y * kTestSize + x];
      if (y < 2) c = x < 4 ? kRed : 0xFFFFFF00;
      if (y >= 6) c = x < 2 ? 0xFF0000FF : x >= 4 ? 0xFF00FF00 : kBlack;
    }
  return p;
}

// The window's pixels after Present, row by row from the top.
std::vector<uint32_t> WindowPixels(Device* d) {
  const GlFunctions& gl = d->Gl();
  d->MakeCurrent();
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  std::vector<uint32_t> rows(kTestSize * kTestSize);
  gl.ReadPixels(0, 0, kTestSize, kTestSize, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
  d->ResetGlStateCache();
  std::vector<uint32_t> top(rows.size());
  for (uint32_t y = 0; y < kTestSize; ++y)
    std::copy_n(&rows[(kTestSize - 1 - y) * kTestSize], kTestSize, &top[y * kTestSize]);
  return top;
}

// The back buffer is drawn in the window while no draw on it needs depth, and offscreen (then
// copied by Present) from a draw with depth on: the window shows the same upright picture, which
// is the one a render target holds.
TEST_F(TargetTest, TheWindowShowsTheBackBufferUprightWhereverItWasDrawn) {
  auto screenQuad = [&](float x0, float y0, float x1, float y1, uint32_t c) {
    DrawScreenQuad(x0, y0, x1, y1, c);
  };
  auto strip = [&](std::initializer_list<ColorVertex> v) {
    auto vb = MakeVertices<ColorVertex>(v, kColorFvf);
    DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex));
  };
  const std::vector<uint32_t> expected = ExpectedRowTestPicture();

  auto target = MakeTarget(kSize);
  auto surface = Level0(target.Get());
  ComPtr<Surface> backBuffer, depth;
  ASSERT_EQ(device_->GetRenderTarget(0, backBuffer.Put()), kOk);
  ASSERT_EQ(device_->GetDepthStencilSurface(depth.Put()), kOk);
  ASSERT_EQ(device_->SetRenderTarget(0, surface.Get()), kOk);
  DrawRowTestPicture(device_.Get(), screenQuad, strip);
  EXPECT_EQ(Pixels(surface.Get()), expected);
  ASSERT_EQ(device_->SetRenderTarget(0, backBuffer.Get()), kOk);

  // A frame starts where the last one ended when that one needed depth.
  struct Frame {
    bool withDepth, inWindow;
  };
  for (const auto [withDepth, inWindow] :
       {Frame{false, true}, Frame{true, false}, Frame{false, false}, Frame{false, true}}) {
    SCOPED_TRACE(withDepth ? "a draw with depth" : "no depth");
    ASSERT_EQ(device_->BeginScene(), kOk);
    if (withDepth) {
      // Depth is tested by one draw that passes everywhere.
      device_->Clear(0, nullptr, ClearFlags::ZBuffer, 0, 1.0f, 0);
      device_->SetRenderState(RenderState::ZEnable, ZBuffer::True);
      DrawScreenQuad(0, 0, 8, 8, kBlack);
      device_->SetRenderState(RenderState::ZEnable, ZBuffer::False);
    }
    DrawRowTestPicture(device_.Get(), screenQuad, strip);
    device_->EndScene();
    EXPECT_EQ(device_->BackBufferInWindow(), inWindow);
    EXPECT_EQ(BackBufferPixels(), expected);
    ASSERT_EQ(device_->Present(), kOk);
    EXPECT_EQ(WindowPixels(device_.Get()), expected);
  }
}

TEST_F(TargetTest, SettingATargetResetsTheViewport) {
  auto small = MakeTarget(4);
  auto surface = Level0(small.Get());
  const Viewport v{1, 1, 2, 2, 0.25f, 0.5f};
  device_->SetViewport(&v);
  ASSERT_EQ(device_->SetRenderTarget(0, surface.Get()), kOk);
  Viewport now;
  EXPECT_EQ(device_->GetViewport(&now), kOk);
  EXPECT_EQ(now, (Viewport{0, 0, 4, 4, 0.0f, 1.0f}));
  ComPtr<Surface> current;
  EXPECT_EQ(device_->GetRenderTarget(0, current.Put()), kOk);
  EXPECT_EQ(current.Get(), surface.Get());

  // Pre-transformed pixels are those of the current target.
  device_->Clear(0, nullptr, ClearFlags::Target, kBlack, 1.0f, 0);
  DrawScreenQuad(0, 0, 4, 2, kRed);
  EXPECT_TRUE(TopHalfRed(Pixels(surface.Get()), 4));

  // Only render-target surfaces are accepted.
  ComPtr<Texture> plain;
  EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, plain.Put()),
            gfx::kOk);
  EXPECT_EQ(device_->SetRenderTarget(0, Level0(plain.Get()).Get()), kInvalidCall);
  EXPECT_EQ(device_->SetRenderTarget(1, surface.Get()), kInvalidCall);
}

TEST_F(TargetTest, BackBufferAndDepthSurfaceDescriptions) {
  ComPtr<Surface> bb, depth;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, BackBufferType::Mono, bb.Put()), kOk);
  SurfaceDesc desc;
  EXPECT_EQ(bb->GetDesc(&desc), kOk);
  EXPECT_EQ(desc.width, kSize);
  EXPECT_EQ(desc.height, kSize);
  EXPECT_EQ(desc.format, Format::A8R8G8B8);
  EXPECT_TRUE(desc.usage & Usage::RenderTarget);
  ASSERT_EQ(device_->GetDepthStencilSurface(depth.Put()), kOk);
  EXPECT_EQ(depth->GetDesc(&desc), kOk);
  EXPECT_EQ(desc.format, Format::D24S8);
  device_->SetDepthStencilSurface(nullptr);
  EXPECT_EQ(device_->GetDepthStencilSurface(depth.Put()), kNotFound);
  EXPECT_EQ(depth.Get(), nullptr);
  EXPECT_EQ(device_->GetBackBuffer(0, 1, BackBufferType::Mono, bb.Put()), kInvalidCall);
}

TEST_F(TargetTest, CapabilitiesAndFormats) {
  Caps caps;
  ASSERT_EQ(device_->GetDeviceCaps(&caps), kOk);
  EXPECT_TRUE(caps.textureOpCaps & TextureOpCap(TextureOp::BumpEnvMap));
  EXPECT_EQ(caps.textureOpCaps & TextureOpCap(5), 0u);  // MODULATE2X is not offered
  // The largest texture of the cards the projects were made for, and no larger.
  EXPECT_EQ(caps.maxTextureWidth, 4096u);
  EXPECT_EQ(caps.maxTextureHeight, 4096u);
  ComPtr<Texture> t;
  EXPECT_EQ(device_->CreateTexture(4096, 1, 1, 0, Format::A8R8G8B8, Pool::Managed, t.Put()), kOk);
  EXPECT_EQ(device_->CreateTexture(1, 4097, 1, 0, Format::A8R8G8B8, Pool::Managed, t.Put()),
            kInvalidCall);
  EXPECT_EQ(
      device_->CheckDeviceFormat(Usage::RenderTarget, ResourceType::Surface, Format::A8R8G8B8),
      kOk);
  EXPECT_EQ(device_->CheckDeviceFormat(0, ResourceType::Texture, Format::V8U8), kOk);
  EXPECT_EQ(device_->CheckDeviceFormat(Usage::RenderTarget, ResourceType::Texture, Format::V8U8),
            kNotAvailable);
  EXPECT_EQ(device_->CheckDeviceFormat(0, ResourceType::Texture, Format::R8G8B8), kNotAvailable);
}

}  // namespace
}  // namespace gfx_test
