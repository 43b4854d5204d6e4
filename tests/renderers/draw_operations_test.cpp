#include <gtest/gtest.h>

#include <cstring>

#include "player/render/matrix_values.h"
#include "player/render/warp_grid_mesh.h"
#include "renderer_fixture.h"

namespace renderer_test {
namespace {

using gfx::Blend, gfx::Cull, gfx::RenderState, gfx::TextureOp, gfx::TextureStageState;

struct ColorTexVertex {  // XYZ | DIFFUSE | TEX1
  float x, y, z;
  uint32_t colour;
  float u, v;
};

class DrawOperations : public RendererTest {
 protected:
  DrawOperations() : RendererTest(64, 16) {}

  void SetUp() override {
    RendererTest::SetUp();
    // Pixels are picture units: the view is the identity on a 64 x 16 picture.
    QuadCorners view;
    view.FromBackBuffer();
    Context().SetTargetView(view, {64, 16}, {64, 16}, 0, true);
  }

  // `quads` side by side, quad i covering x in [8i, 8i + 8), y in [0, 16), white (as
  // XYZ|DIFFUSE|TEX1 vertices in a buffer of `bytesPerVertex` bytes a vertex).
  void MakeQuadBatch(IndexedMesh& mesh, uint32_t quads, uint32_t bytesPerVertex = 24) {
    gfx::VertexBuffer* vb = nullptr;
    gfx::IndexBuffer* ib = nullptr;
    ASSERT_EQ(
        device_->CreateVertexBuffer(quads * 4 * bytesPerVertex, 0, 0x142, gfx::Pool::Managed, &vb),
        gfx::kOk);
    ASSERT_EQ(
        device_->CreateIndexBuffer(quads * 12, 0, gfx::Format::Index16, gfx::Pool::Managed, &ib),
        gfx::kOk);
    void* data = nullptr;
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), gfx::kOk);
    auto* v = static_cast<ColorTexVertex*>(data);
    for (uint32_t q = 0; q < quads; ++q) {
      const float x0 = 8.0f * q, x1 = x0 + 8;
      v[4 * q + 0] = {x0, 16, 0, 0xFFFFFFFF, 0, 1};
      v[4 * q + 1] = {x0, 0, 0, 0xFFFFFFFF, 0, 0};
      v[4 * q + 2] = {x1, 16, 0, 0xFFFFFFFF, 1, 1};
      v[4 * q + 3] = {x1, 0, 0, 0xFFFFFFFF, 1, 0};
    }
    vb->Unlock();
    EXPECT_EQ(ib->Lock(0, 0, &data, 0), gfx::kOk);
    auto* index = static_cast<uint16_t*>(data);
    for (uint32_t q = 0; q < quads; ++q) {
      const uint16_t b = uint16_t(4 * q);
      const uint16_t six[6] = {
          b, uint16_t(b + 1), uint16_t(b + 2), uint16_t(b + 2), uint16_t(b + 1), uint16_t(b + 3)};
      std::memcpy(index + 6 * q, six, sizeof six);
    }
    ib->Unlock();
    mesh.vertices.buffer.Reset(vb);
    mesh.vertices.count = quads * 4;
    mesh.indices.Reset(ib);
    mesh.primitiveType = gfx::PrimitiveType::TriangleList;
    mesh.primitiveCount = quads * 2;
  }

  gfx::ComPtr<gfx::Texture> White() {
    gfx::ComPtr<gfx::Texture> t;
    EXPECT_EQ(
        device_->CreateTexture(1, 1, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, t.Put()),
        gfx::kOk);
    const uint32_t white = 0xFFFFFFFF;
    EXPECT_EQ(t->WriteLevel(0, &white, 4), gfx::kOk);
    return t;
  }

  DS_2D_Light renderer_;
};

TEST_F(DrawOperations, IndexedMeshDrawsTheGivenQuadsOnly) {
  IndexedMesh batch;
  MakeQuadBatch(batch, 6);
  auto white = White();
  device_->SetTexture(0, white.Get());
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1, 0);
  renderer_.DrawIndexedMesh(batch, nullptr, 3, 2);
  const auto px = BackBufferPixels();
  for (int q = 0; q < 6; ++q)
    EXPECT_EQ(px[8 * 64 + 8 * q + 4], q == 3 || q == 4 ? 0xFFFFFFFFu : 0xFF000000u) << q;
  ASSERT_EQ(Log().size(), 2u);  // the clear and one draw
  EXPECT_EQ(Log()[1].primitiveCount, 4u);
  EXPECT_TRUE(Log()[1].indexed);
  EXPECT_EQ(Log()[1].state.Get(RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(Log()[1].state.Get(0, TextureStageState::ColorOp), TextureOp::Modulate);

  // With an effect: one draw per pass, from the same first index.
  auto effect = MakeEffect(2);
  ClearLog();
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1, 0);
  effect->SetTexture("Texture", white.Get());
  renderer_.DrawIndexedMesh(batch, effect.Get(), 0, 1);
  ASSERT_EQ(Log().size(), 3u);
  EXPECT_EQ(Log()[2].technique, "First");
  EXPECT_EQ(BackBufferPixels()[8 * 64 + 4], 0xFFFFFFFFu);
  EXPECT_EQ(BackBufferPixels()[8 * 64 + 12], 0xFF000000u);
}

TEST_F(DrawOperations, BlendOverridesFollowTheRenderFlags) {
  SimpleMesh quad;
  quad.vertices.CreateGrid(4);
  quad.primitiveCount = 2;
  auto effect = MakeEffect(2);
  struct Case {
    uint32_t flags, src, dest;
  } cases[] = {{0, Blend::SrcAlpha, Blend::InvSrcAlpha},
               {DS_2D_Light::kFreshTarget, Blend::One, Blend::Zero},
               {DS_2D_Light::kLayerSplit, Blend::One, Blend::Zero},
               {DS_2D_Light::kSourceOne, Blend::One, Blend::InvSrcAlpha}};
  for (const Case& c : cases) {
    device_->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device_->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    renderer_.renderFlags = c.flags;
    ClearLog();
    renderer_.DrawWithEffect(quad, effect.Get());
    ASSERT_EQ(Log().size(), 2u) << "one draw per pass";
    for (const auto& entry : Log()) {
      EXPECT_EQ(entry.state.Get(RenderState::SrcBlend), c.src) << c.flags;
      EXPECT_EQ(entry.state.Get(RenderState::DestBlend), c.dest) << c.flags;
      EXPECT_EQ(entry.stride, 20u);
    }
  }
  // A missing effect draws nothing.
  ClearLog();
  renderer_.DrawTexWithEffect(quad, nullptr);
  renderer_.DrawIndexedTex(IndexedMesh{}, nullptr);
  EXPECT_TRUE(Log().empty());
}

TEST_F(DrawOperations, SpriteLayerDrawsOnceOrTwice) {
  TestLayer layer;
  MakeQuadBatch(layer.mesh, 3);
  layer.quads = 2;
  auto frame = White();
  auto second = White();
  layer.frame = frame.Get();
  layer.blendMode = 1;
  renderer_.DrawSpriteLayer(layer);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].primitiveCount, 4u);
  EXPECT_EQ(Log()[0].state.Get(RenderState::DestBlend), Blend::One) << "additive";
  EXPECT_EQ(Log()[0].stride, 24u);

  layer.second = second.Get();
  ClearLog();
  renderer_.DrawSpriteLayer(layer);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_EQ(Log()[0].state.Get(RenderState::DestBlend), Blend::InvSrcAlpha);
  EXPECT_EQ(Log()[0].state.Get(0, TextureStageState::ColorOp), TextureOp::Modulate);
  EXPECT_EQ(Log()[1].state.Get(RenderState::DestBlend), Blend::One);
  EXPECT_EQ(Log()[1].state.Get(0, TextureStageState::ColorOp), TextureOp::SelectArg1);
  EXPECT_NE(Log()[1].textures[0], Log()[0].textures[0]);
  EXPECT_EQ(device_->State().Get(RenderState::AlphaBlendEnable), 0u);
  EXPECT_EQ(device_->State().Get(RenderState::DestBlend), Blend::InvSrcAlpha);
}

TEST_F(DrawOperations, FrameListsAndTreesCullPerPlacement) {
  MeshPart part;
  MakeQuadBatch(part, 1, 32);
  TransformNode plain, mirrored;
  plain.flag = 0;
  mirrored.flag = 1;
  part.placements = {&plain, &mirrored};
  renderer_.DrawFrameList(part);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_EQ(Log()[0].state.Get(RenderState::CullMode), Cull::CW);
  EXPECT_EQ(Log()[1].state.Get(RenderState::CullMode), Cull::CCW);
  EXPECT_EQ(Log()[0].state.Get(RenderState::AlphaBlendEnable), 0u);

  part.twoSided = true;
  ClearLog();
  renderer_.DrawFrameList(part);
  ASSERT_EQ(Log().size(), 4u);
  EXPECT_EQ(Log()[2].state.Get(RenderState::CullMode), Cull::CCW);
  EXPECT_EQ(Log()[3].state.Get(RenderState::CullMode), Cull::CW);
  EXPECT_EQ(Log()[3].state.Get(RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(device_->State().Get(RenderState::CullMode), Cull::None);
  EXPECT_EQ(device_->State().Get(RenderState::AlphaBlendEnable), 0u);

  MeshGeometry tree;
  MakeQuadBatch(tree, 1, 32);
  ClearLog();
  renderer_.DrawFrameTree(tree);
  EXPECT_TRUE(Log().empty()) << "no children, no draw";
  tree.node.children = {&plain, &mirrored};
  renderer_.DrawFrameTree(tree);
  ASSERT_EQ(Log().size(), 4u);
  EXPECT_EQ(Log()[0].state.Get(RenderState::CullMode), Cull::CCW);
  EXPECT_EQ(Log()[1].state.Get(RenderState::CullMode), Cull::CW);
  EXPECT_EQ(Log()[0].state.Get(0, TextureStageState::AlphaOp), TextureOp::SelectArg1);
  tree.node.children.clear();
}

// A drawable that places itself: the renderer sets no world of its own for it.
class SelfPlaced : public CustomDrawable {
 public:
  void Prepare(void* argument) override {
    argument_ = argument;
    const D3DXMATRIX world = TranslationMatrix(8, 0, 0);
    CurrentDevice()->SetTransform(gfx::TransformState::World, &world);
  }
  const IndexedMesh& Mesh() const override { return mesh; }
  gfx::Texture* Texture() const override { return texture; }

  IndexedMesh mesh;
  gfx::Texture* texture = nullptr;
  void* argument_ = nullptr;
};

TEST_F(DrawOperations, CustomAndTechniqueDraws) {
  SelfPlaced custom;
  WarpGridMesh grid;  // one cell over x in [0, 8), y in [0, 16)
  grid.Resize(1, 1);
  grid.Fill({0, 0, 0, 0, 0}, {8, 0, 0, 1, 0}, {0, 16, 0, 0, 1}, {8, 16, 0, 1, 1});
  custom.mesh = grid;
  auto white = White();
  custom.texture = white.Get();
  int argument = 0;
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1, 0);
  ClearLog();
  renderer_.DrawCustom(custom, &argument);
  EXPECT_EQ(custom.argument_, &argument);
  ASSERT_EQ(Log().size(), 1u);
  const gfx::FrameLogEntry& draw = Log()[0];
  EXPECT_EQ(draw.state.world, TranslationMatrix(8, 0, 0));
  EXPECT_EQ(draw.state.Get(0, gfx::SamplerState::AddressU), gfx::TextureAddress::Mirror);
  EXPECT_EQ(draw.state.Get(RenderState::ZEnable), 0u);
  EXPECT_EQ(draw.state.Get(RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(draw.stride, 20u);
  EXPECT_EQ(BackBufferPixels()[8 * 64 + 12], 0xFFFFFFFFu) << "drawn where it placed itself";
  EXPECT_EQ(BackBufferPixels()[8 * 64 + 4], 0xFF000000u);
  EXPECT_EQ(device_->State().Get(RenderState::AlphaBlendEnable), 0u);
  EXPECT_EQ(device_->State().Get(0, TextureStageState::TextureTransformFlags),
            gfx::TextureTransform::Disable);

  // A technique chosen by the caller, the caller's primitive count, the overrides in each pass.
  IndexedMesh batch;
  MakeQuadBatch(batch, 3);
  auto effect = MakeEffect(2);
  renderer_.renderFlags = DS_2D_Light::kFreshTarget;
  ClearLog();
  renderer_.DrawIndexedColorTexBlend(batch, effect.Get(), "Second", 2);
  renderer_.renderFlags = 0;
  ASSERT_EQ(Log().size(), 1u) << "the second technique has one pass";
  EXPECT_EQ(Log()[0].technique, "Second");
  EXPECT_EQ(Log()[0].primitiveCount, 2u);
  EXPECT_EQ(Log()[0].state.Get(RenderState::SrcBlend), Blend::One);
  EXPECT_EQ(Log()[0].state.Get(RenderState::DestBlend), Blend::Zero);
}

TEST_F(DrawOperations, ScreenSpaceOverlays) {
  const gfx::DeviceState before = device_->State();
  renderer_.DrawFadeOverlay(nullptr);
  EXPECT_EQ(device_->State().renderStates, before.renderStates);
  EXPECT_EQ(device_->State().stageStates, before.stageStates);
  EXPECT_TRUE(Log().empty());

  // Half-transparent red over white.
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFFFFFFFF, 1, 0);
  device_->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
  device_->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
  device_->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  device_->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
  QuadCorners screen;
  screen.FromBackBuffer();
  ColorQuadMesh overlay;
  overlay.InitScreen(screen, 0x80FF0000);
  renderer_.DrawFadeOverlay(&overlay);
  const uint32_t px = BackBufferPixels()[5 * 64 + 5];
  EXPECT_NEAR(int((px >> 16) & 0xFF), 255, 1);
  EXPECT_NEAR(int((px >> 8) & 0xFF), 127, 2);
  EXPECT_EQ(device_->State().Get(0, TextureStageState::ColorArg1), gfx::TextureArg::Texture);

  TexturedScreenQuad quad;
  auto white = White();
  quad.SetTexture(white.Get(), screen);
  ClearLog();
  renderer_.DrawScreenQuad(quad);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].state.Get(0, TextureStageState::AlphaOp), TextureOp::Modulate);
  EXPECT_EQ(Log()[0].stride, 28u);
  EXPECT_EQ(device_->State().Get(0, TextureStageState::AlphaOp), TextureOp::SelectArg1);
}

}  // namespace
}  // namespace renderer_test
