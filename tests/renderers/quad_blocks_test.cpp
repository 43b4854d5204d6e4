// Quad batches past 16,384 quads: every quad draw of the renderer, and the batch's own, draws
// them in blocks of 16-bit indices with their base vertex, so that the last quad lands in its
// place and not over a quad of the first block.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "player/render/quad_blocks.h"
#include "player/render/sprite_array.h"
#include "renderer_fixture.h"

namespace renderer_test {
namespace {

constexpr uint32_t kQuads = 20000;
constexpr uint32_t kLast = kQuads - 1;
constexpr uint32_t kShadowed = kLast - kQuadsPerBlock;  // where the last quad lands when wrapped

class SpriteLayerOf : public SpriteLayer {
 public:
  const IndexedMesh& LayerMesh() const override { return *mesh; }
  int BlendMode() const override { return 0; }
  uint32_t QuadCount() const override { return kQuads; }
  gfx::Texture* FrameTexture() const override { return frame; }
  gfx::Texture* SecondTexture() const override { return nullptr; }

  const IndexedMesh* mesh = nullptr;
  gfx::Texture* frame = nullptr;
};

class QuadBlocks : public RendererTest {
 protected:
  QuadBlocks() : RendererTest(32, 16) {}

  void SetUp() override {
    RendererTest::SetUp();
    QuadCorners view;
    view.FromBackBuffer();
    Context().SetTargetView(view, {32, 16}, {32, 16}, 0, true);
    // Every quad but two lies outside the target; the shadowed one covers the left half in
    // green, the last one the right half in red.
    batch_.Reserve(kQuads);
    DX_V::PCT* v = batch_.LockVertices();
    ASSERT_NE(v, nullptr);
    for (uint32_t i = 0; i < 4 * kQuads; ++i)
      v[i] = {-50, -50, 0, 0xFFFFFFFF, 0, 0};
    auto place = [&](uint32_t q, float x0, uint32_t colour) {
      const float x1 = x0 + 16;
      v[4 * q + 0] = {x0, 16, 0, colour, 0, 1};
      v[4 * q + 1] = {x0, 0, 0, colour, 0, 0};
      v[4 * q + 2] = {x1, 16, 0, colour, 1, 1};
      v[4 * q + 3] = {x1, 0, 0, colour, 1, 0};
    };
    place(kShadowed, 0, 0xFF00FF00);
    place(kLast, 16, 0xFFFF0000);
    batch_.UnlockVertices();

    gfx::Effect* effect = nullptr;
    std::string errors;
    const std::string text =
        "#vornview effect 1\ntechnique Plain { pass { AlphaBlendEnable = False; "
        "Fragment = Colour; } }\ncode fragment Colour\nout vec4 color;\n"
        "void main() { color = gfx_Diffuse; }\nendcode\n";
    ASSERT_EQ(gfx::Effect::Create(device_.Get(), "plain", text, &effect, &errors), gfx::kOk)
        << errors;
    effect_.Reset(effect);
    EXPECT_EQ(
        device_->CreateTexture(1, 1, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, white_.Put()),
        gfx::kOk);
    const uint32_t white = 0xFFFFFFFF;
    EXPECT_EQ(white_->WriteLevel(0, &white, 4), gfx::kOk);
  }

  PCTSpriteArray batch_;
  ComRef<gfx::Effect> effect_;
  gfx::ComPtr<gfx::Texture> white_;
  DS_2D_Light renderer_;
};

TEST_F(QuadBlocks, EveryQuadDrawPutsTheLastOfTwentyThousandQuadsInItsPlace) {
  SpriteLayerOf layer;
  layer.mesh = &batch_;
  layer.frame = white_.Get();
  const std::pair<const char*, std::function<void()>> draws[] = {
      {"DrawIndexedColorTex", [&] { renderer_.DrawIndexedColorTex(batch_, effect_.Get()); }},
      {"DrawIndexedColorTexBlend",
       [&] { renderer_.DrawIndexedColorTexBlend(batch_, effect_.Get(), "Plain", 2 * kQuads); }},
      {"DrawSpriteLayer", [&] { renderer_.DrawSpriteLayer(layer); }},
      {"DrawIndexedMesh", [&] { renderer_.DrawIndexedMesh(batch_, effect_.Get(), 0, kQuads); }},
      {"DrawIndexedMesh without an effect",
       [&] {
         device_->SetTexture(0, white_.Get());
         renderer_.DrawIndexedMesh(batch_, nullptr, 0, kQuads);
       }},
      {"the batch's own Draw", [&] { batch_.Draw(effect_.Get(), "Plain", kQuads); }},
  };
  for (const auto& [name, draw] : draws) {
    SCOPED_TRACE(name);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1, 0);
    ClearLog();
    draw();
    ASSERT_EQ(Log().size(), 2u) << "one draw per block";
    EXPECT_EQ(Log()[0].baseVertex, 0);
    EXPECT_EQ(Log()[0].primitiveCount, 2 * kQuadsPerBlock);
    EXPECT_EQ(Log()[1].baseVertex, int32_t(kVerticesPerBlock));
    EXPECT_EQ(Log()[1].first, 6 * kQuadsPerBlock);
    EXPECT_EQ(Log()[1].primitiveCount, 2 * (kQuads - kQuadsPerBlock));
    const auto px = BackBufferPixels();
    EXPECT_EQ(px[8 * 32 + 8], 0xFF00FF00u) << "the quad of the first block";
    EXPECT_EQ(px[8 * 32 + 24], 0xFFFF0000u) << "the last quad, in its place";
  }
}

}  // namespace
}  // namespace renderer_test
