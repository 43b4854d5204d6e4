#include <functional>
#include <utility>
#include <vector>

#include "gfx_fixture.h"

namespace gfx_test {
namespace {

TEST_F(GfxTest, ClearFillsTheViewportAndIgnoresTheWriteMask) {
  device_->SetRenderState(RenderState::ColorWriteEnable,
                          ColorWrite::Red | ColorWrite::Green | ColorWrite::Blue);
  ASSERT_EQ(device_->Clear(0, nullptr, ClearFlags::Target, 0x80336699, 1.0f, 0), kOk);
  for (uint32_t p : BackBufferPixels())
    EXPECT_EQ(p, 0x80336699u);

  const Viewport v{2, 3, 4, 2, 0, 1};
  ASSERT_EQ(device_->SetViewport(&v), kOk);
  ASSERT_EQ(device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0), kOk);
  const auto pixels = BackBufferPixels();
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
      EXPECT_EQ(pixels[y * kSize + x], inside ? 0xFF000000u : 0x80336699u) << x << "," << y;
    }
}

// Unlit, depth-free drawing, a render-target texture of `size` with its level, and the back
// buffer: two targets to clear and draw on in turn.
struct TwoTargets {
  ComPtr<Texture> target;
  ComPtr<Surface> back, level;
};
void MakeTwoTargets(Device& device, uint32_t size, TwoTargets& out) {
  device.SetRenderState(RenderState::Lighting, 0);
  device.SetRenderState(RenderState::ZEnable, 0);
  ASSERT_EQ(device.CreateTexture(size, size, 1, Usage::RenderTarget, Format::A8R8G8B8,
                                 Pool::Default, out.target.Put()),
            kOk);
  ASSERT_EQ(device.GetBackBuffer(0, 0, BackBufferType::Mono, out.back.Put()), kOk);
  ASSERT_EQ(out.target->GetSurfaceLevel(0, out.level.Put()), kOk);
}

// A clear repeated with nothing drawn since does no GL work; anything that wrote to the target
// in between makes it clear again.
TEST_F(GfxTest, ARepeatedClearStillClearsWhatWasWrittenSince) {
  TwoTargets t;
  ASSERT_NO_FATAL_FAILURE(MakeTwoTargets(*device_, kSize, t));
  const ComPtr<Texture>& target = t.target;
  const ComPtr<Surface>& back = t.back;
  const ComPtr<Surface>& level = t.level;
  const std::vector<uint32_t> green(kSize * kSize, 0xFF00FF00);
  const std::pair<const char*, std::function<void()>> writes[] = {
      {"a draw", [&] { DrawScreenQuad(0, 0, kSize, kSize, 0xFF00FF00); }},
      {"an upload", [&] { ASSERT_EQ(target->WriteLevel(0, green.data(), kSize * 4), kOk); }},
  };
  for (const auto& [what, write] : writes) {
    SCOPED_TRACE(what);
    ASSERT_EQ(device_->SetRenderTarget(0, level.Get()), kOk);
    device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFF0000, 1.0f, 0);
    write();
    device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFF0000, 1.0f, 0);
    EXPECT_EQ(Pixels(level.Get())[kSize * kSize / 2 + 3], 0xFFFF0000u);
  }
  // The same clear of another target is another clear.
  ASSERT_EQ(device_->SetRenderTarget(0, back.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF00FF00, 1.0f, 0);
  ASSERT_EQ(device_->SetRenderTarget(0, level.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFF0000, 1.0f, 0);
  ASSERT_EQ(device_->SetRenderTarget(0, back.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFF0000, 1.0f, 0);
  EXPECT_EQ(Pixel(3, 3), 0xFFFF0000u);
}

// A clear of the whole back buffer waits until the back buffer is drawn on, read or shown, so
// that the clears a frame makes before it draws there cost one: the last one counts, also across
// work on other targets, and a clear that cannot wait does the waiting one first.
TEST_F(GfxTest, TheLastClearOfTheBackBufferBeforeItIsUsedIsTheOneThatCounts) {
  TwoTargets t;
  ASSERT_NO_FATAL_FAILURE(MakeTwoTargets(*device_, kSize, t));
  const ComPtr<Surface>& back = t.back;
  const ComPtr<Surface>& level = t.level;
  std::vector<FrameLogEntry::Kind> done;
  device_->EnableFrameLog(true);
  device_->SetFrameLogObserver([&](const FrameLogEntry& e) { done.push_back(e.kind); });

  // Cleared twice, then other work elsewhere, then cleared again and drawn on in part.
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFF0000, 1.0f, 0);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF0000FF, 1.0f, 0);
  ASSERT_EQ(device_->SetRenderTarget(0, level.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF00FF00, 1.0f, 0);
  DrawScreenQuad(0, 0, kSize, kSize, 0xFF00FF00);
  ASSERT_EQ(device_->SetRenderTarget(0, back.Get()), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFFFFFF00, 1.0f, 0);
  DrawScreenQuad(0, 0, 2, 2, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(5, 5), 0xFFFFFF00u);
  const auto& log = device_->CurrentFrameLog();
  ASSERT_EQ(log.size(), 6u) << "every call is logged in its place";
  EXPECT_TRUE(log[0].deferred && log[1].deferred && log[4].deferred);
  EXPECT_FALSE(log[2].deferred) << "a clear of a texture is done at once";
  const std::vector<FrameLogEntry::Kind> gl = {
      FrameLogEntry::Kind::Clear, FrameLogEntry::Kind::Draw, FrameLogEntry::Kind::Clear,
      FrameLogEntry::Kind::Draw};
  EXPECT_EQ(done, gl) << "one GL clear of the back buffer, just before its draw";
  device_->SetFrameLogObserver(nullptr);

  // Read without a draw; a clear of part of it after a waiting whole clear.
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF808080, 1.0f, 0);
  EXPECT_EQ(Pixel(6, 6), 0xFF808080u);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  const Rect corner{0, 0, 2, 2};
  device_->Clear(1, &corner, ClearFlags::Target, 0xFFFFFFFF, 1.0f, 0);
  EXPECT_EQ(Pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(6, 6), 0xFF000000u);
}

}  // namespace
}  // namespace gfx_test

namespace gfx_test {
namespace {

bool Inside(uint32_t x, uint32_t y) {
  return x >= 2 && x < 6 && y >= 1 && y < 5;
}

// Pre-transformed positions are pixels from the top-left; transformed geometry through a
// y-down orthographic projection lands on the same pixels.
TEST_F(GfxTest, QuadsLandOnTheirPixelsTopRowFirst) {
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  DrawScreenQuad(2, 1, 6, 5, 0xFFFF0000);
  auto pixels = BackBufferPixels();
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize; ++x)
      EXPECT_EQ(pixels[y * kSize + x], Inside(x, y) ? 0xFFFF0000u : 0xFF000000u) << x << "," << y;

  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 1);
  device_->SetTransform(TransformState::Projection, &projection);
  auto vb = MakeVertices<ColorVertex>({{2, 5, 0.5f, 0xFF00FF00},
                                       {2, 1, 0.5f, 0xFF00FF00},
                                       {6, 5, 0.5f, 0xFF00FF00},
                                       {6, 1, 0.5f, 0xFF00FF00}},
                                      kColorFvf);
  DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex));
  pixels = BackBufferPixels();
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize; ++x)
      EXPECT_EQ(pixels[y * kSize + x], Inside(x, y) ? 0xFF00FF00u : 0xFF000000u) << x << "," << y;
}

// One triangle covering the top-left half, listed clockwise or counter-clockwise as seen on
// the target (y downwards).
TEST_F(GfxTest, CullingKeepsTheDirect3DMeaningOfWinding) {
  struct Case {
    uint32_t cull;
    bool clockwise;
    bool yUpProjection;
    bool visible;
  };
  const Case cases[] = {
      {Cull::CCW, true, false, true},
      {Cull::CCW, false, false, false},
      {Cull::CW, true, false, false},
      {Cull::CW, false, false, true},
      {Cull::None, true, false, true},
      {Cull::None, false, false, true},
      // Through a y-up projection the same list turns the other way on the target.
      {Cull::CCW, true, true, false},
      {Cull::CW, true, true, true},
  };
  for (const Case& c : cases) {
    device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
    device_->SetRenderState(RenderState::CullMode, c.cull);
    D3DXMATRIX projection;
    if (c.yUpProjection)
      D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 0, 8, 0, 1);
    else
      D3DXMatrixOrthoOffCenterLH(&projection, 0, 8, 8, 0, 0, 1);
    device_->SetTransform(TransformState::Projection, &projection);
    const ColorVertex a{0, 0, 0.5f, 0xFFFFFFFF}, b{8, 0, 0.5f, 0xFFFFFFFF},
        d{0, 8, 0.5f, 0xFFFFFFFF};
    auto vb = c.clockwise ? MakeVertices<ColorVertex>({a, b, d}, kColorFvf)
                          : MakeVertices<ColorVertex>({a, d, b}, kColorFvf);
    DrawStrip(vb.Get(), kColorFvf, sizeof(ColorVertex), 1);
    const int row = c.yUpProjection ? 6 : 1;  // a pixel inside the triangle
    EXPECT_EQ(Pixel(1, row), c.visible ? 0xFFFFFFFFu : 0xFF000000u)
        << "cull " << c.cull << " clockwise " << c.clockwise << " y-up " << c.yUpProjection;
  }
}

TEST_F(GfxTest, DepthTestUsesTheAutomaticDepthSurface) {
  device_->SetRenderState(RenderState::ZEnable, ZBuffer::True);
  device_->Clear(0, nullptr, ClearFlags::Target | ClearFlags::ZBuffer, 0xFF000000, 1.0f, 0);
  auto quad = [&](float z, uint32_t color) {
    auto vb = MakeVertices<ScreenVertex>({{0, 8, z, 1, color, 0, 0},
                                          {0, 0, z, 1, color, 0, 0},
                                          {8, 8, z, 1, color, 0, 0},
                                          {8, 0, z, 1, color, 0, 0}},
                                         kScreenFvf);
    DrawStrip(vb.Get(), kScreenFvf, sizeof(ScreenVertex));
  };
  quad(0.3f, 0xFFFF0000);
  quad(0.6f, 0xFF00FF00);  // behind: LESSEQUAL keeps red
  EXPECT_EQ(Pixel(4, 4), 0xFFFF0000u);
  device_->SetRenderState(RenderState::ZWriteEnable, 0);
  quad(0.1f, 0xFF0000FF);  // in front, drawn, but not written
  quad(0.2f, 0xFFFFFF00);
  EXPECT_EQ(Pixel(4, 4), 0xFFFFFF00u);
  device_->SetRenderState(RenderState::ZFunc, Cmp::Greater);
  quad(0.2f, 0xFF00FFFF);  // 0.2 is not beyond the stored 0.3
  EXPECT_EQ(Pixel(4, 4), 0xFFFFFF00u);

  // Without a depth surface nothing is tested, and clearing depth is refused.
  device_->SetDepthStencilSurface(nullptr);
  quad(0.9f, 0xFF808080);
  EXPECT_EQ(Pixel(4, 4), 0xFF808080u);
  EXPECT_EQ(device_->Clear(0, nullptr, ClearFlags::ZBuffer, 0, 1.0f, 0), kInvalidCall);
}

TEST_F(GfxTest, StateStartsAtTheDirect3DDefaultsAndReadsBack) {
  ComPtr<Device> fresh;
  ASSERT_EQ(Device::CreateHeadless(4, 4, fresh.Put()), kOk);
  const struct {
    RenderState state;
    uint32_t value;
  } defaults[] = {{RenderState::ZEnable, ZBuffer::True},       {RenderState::ZWriteEnable, 1},
                  {RenderState::ZFunc, Cmp::LessEqual},        {RenderState::Lighting, 1},
                  {RenderState::CullMode, Cull::CCW},          {RenderState::SrcBlend, Blend::One},
                  {RenderState::DestBlend, Blend::Zero},       {RenderState::BlendOp, BlendOp::Add},
                  {RenderState::ColorWriteEnable, 15},         {RenderState::AlphaBlendEnable, 0},
                  {RenderState::ShadeMode, ShadeMode::Gouraud}};
  for (const auto& d : defaults) {
    uint32_t v = 0xDEAD;
    ASSERT_EQ(fresh->GetRenderState(d.state, &v), kOk);
    EXPECT_EQ(v, d.value) << uint32_t(d.state);
  }
  uint32_t v = 0;
  EXPECT_EQ(fresh->GetTextureStageState(0, TextureStageState::ColorOp, &v), kOk);
  EXPECT_EQ(v, TextureOp::Modulate);
  EXPECT_EQ(fresh->GetTextureStageState(1, TextureStageState::ColorOp, &v), kOk);
  EXPECT_EQ(v, TextureOp::Disable);
  EXPECT_EQ(fresh->GetTextureStageState(1, TextureStageState::TexCoordIndex, &v), kOk);
  EXPECT_EQ(v, 1u);
  EXPECT_EQ(fresh->GetSamplerState(0, SamplerState::AddressU, &v), kOk);
  EXPECT_EQ(v, TextureAddress::Wrap);

  fresh->SetTextureStageState(0, TextureStageState::BumpEnvMat01, FloatBits(-0.04f));
  EXPECT_EQ(fresh->GetTextureStageState(0, TextureStageState::BumpEnvMat01, &v), kOk);
  EXPECT_EQ(BitsFloat(v), -0.04f);
  D3DXMATRIX m, back;
  D3DXMatrixTranslation(&m, 1, 2, 3);
  fresh->SetTransform(TransformState::Texture1, &m);
  EXPECT_EQ(fresh->GetTransform(TransformState::Texture1, &back), kOk);
  EXPECT_EQ(back, m);
  EXPECT_EQ(fresh->SetTextureStageState(kMaxTextureStages, TextureStageState::ColorOp, 1),
            kInvalidCall);
  EXPECT_EQ(fresh->SetRenderTarget(0, nullptr), kInvalidCall);
}

TEST_F(GfxTest, FrameLogRecordsDrawsWithTheirState) {
  device_->EnableFrameLog(true);
  auto texture = MakeTexture(1, 1, {0xFFFFFFFF});
  device_->SetTexture(0, texture.Get());
  device_->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device_->SetTechniqueLabel("BlendNormal");
  // The observer sees the GL work of each entry as it is done, with its state still bound.
  std::vector<std::pair<FrameLogEntry::Kind, GLint>> observed;
  device_->SetFrameLogObserver([&](const FrameLogEntry& e) {
    GLint program = 0;
    device_->Gl().GetIntegerv(GL_CURRENT_PROGRAM, &program);
    observed.emplace_back(e.kind, program);
  });
  EXPECT_EQ(device_->BeginScene(), kOk);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  device_->Clear(0, nullptr, ClearFlags::Target, 0xFF000000, 1.0f, 0);
  DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  device_->EndScene();
  device_->SetFrameLogObserver(nullptr);

  const auto& log = device_->CurrentFrameLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind, FrameLogEntry::Kind::Clear);
  EXPECT_EQ(log[0].clearColor, 0xFF000000u);
  EXPECT_FALSE(log[0].redundant);
  EXPECT_TRUE(log[1].redundant) << "the same clear again changes no pixel";
  // The GL work: the clear (done just before the draw) and the draw.
  ASSERT_EQ(observed.size(), 2u);
  EXPECT_EQ(observed[0].first, FrameLogEntry::Kind::Clear);
  EXPECT_EQ(observed[1].first, FrameLogEntry::Kind::Draw);
  EXPECT_NE(observed[1].second, 0) << "the draw's program is still bound";
  const FrameLogEntry& draw = log[2];
  EXPECT_EQ(draw.kind, FrameLogEntry::Kind::Draw);
  EXPECT_EQ(draw.technique, "BlendNormal");
  EXPECT_EQ(draw.primitiveType, PrimitiveType::TriangleStrip);
  EXPECT_EQ(draw.primitiveCount, 2u);
  EXPECT_EQ(draw.vertexCount, 4u);
  EXPECT_EQ(draw.textures[0], texture->Id());
  EXPECT_EQ(draw.textures[1], 0u);
  EXPECT_EQ(draw.state.Get(RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(draw.state.fvf, kScreenFvf);
  ComPtr<Surface> bb;
  EXPECT_EQ(device_->GetBackBuffer(0, 0, BackBufferType::Mono, bb.Put()), kOk);
  EXPECT_EQ(draw.target, bb->Id());
  EXPECT_EQ(draw.targetWidth, kSize);
  EXPECT_TRUE(draw.effect.empty()) << "fixed function";

  ASSERT_EQ(device_->Present(), kOk);
  EXPECT_TRUE(device_->CurrentFrameLog().empty());
  EXPECT_EQ(device_->LastFrameLog().size(), 3u);
}

TEST(FvfLayout, DecodesTheFormatsInUse) {
  struct Case {
    uint32_t fvf;
    int size, normal, diffuse, sets;
    bool pretransformed;
  };
  const Case cases[] = {
      {0x002, 12, -1, -1, 0, false}, {0x042, 16, -1, 12, 0, false}, {0x044, 20, -1, 16, 0, true},
      {0x102, 20, -1, -1, 1, false}, {0x112, 32, 12, -1, 1, false}, {0x142, 24, -1, 12, 1, false},
      {0x144, 28, -1, 16, 1, true},  {0x152, 36, 12, 24, 1, false}, {0x202, 28, -1, -1, 2, false},
      {0x242, 32, -1, 12, 2, false}, {0x302, 36, -1, -1, 3, false},
  };
  for (const Case& c : cases) {
    const FvfLayout l = FvfLayout::Decode(c.fvf);
    ASSERT_TRUE(l.valid) << std::hex << c.fvf;
    EXPECT_EQ(l.size, c.size) << std::hex << c.fvf;
    EXPECT_EQ(l.normal, c.normal) << std::hex << c.fvf;
    EXPECT_EQ(l.diffuse, c.diffuse) << std::hex << c.fvf;
    EXPECT_EQ(l.texCoordSets, c.sets) << std::hex << c.fvf;
    EXPECT_EQ(l.pretransformed, c.pretransformed) << std::hex << c.fvf;
  }
  const FvfLayout sized = FvfLayout::Decode(Fvf::Xyz | Fvf::Tex2 | FvfTexCoordSize3(0));
  EXPECT_EQ(sized.texCoord[1], 24);
  EXPECT_EQ(sized.size, 32);
  EXPECT_FALSE(FvfLayout::Decode(0x006).valid);                           // blend weights
  EXPECT_FALSE(FvfLayout::Decode(0x040).valid);                           // no position
  EXPECT_FALSE(FvfLayout::Decode(Fvf::Xyz | FvfTexCoordSize3(2)).valid);  // size of a missing set
}

}  // namespace
}  // namespace gfx_test
