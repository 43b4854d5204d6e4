#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "player/render/render_target_set.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

constexpr uint32_t kSize = 16;
constexpr double kWeights[5] = {0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541,
                                0.0162162162};

struct ScreenVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};

class BlurEffectTest : public DocumentTest {
 protected:
  // Draws `source` through the effect's technique over the whole of `target`.
  void Pass(gfx::Effect* effect, const char* technique, gfx::Texture* source,
            gfx::Texture* target) {
    SetTextureAsTarget(target);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF808080, 1, 0);
    effect->SetTexture("Texture", source);
    ASSERT_EQ(effect->SetTechnique(technique), gfx::kOk);
    const float s = float(kSize);
    const ScreenVertex quad[4] = {{0, s, 0, 1, 0xFFFFFFFF, 0, 1},
                                  {0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                  {s, s, 0, 1, 0xFFFFFFFF, 1, 1},
                                  {s, 0, 0, 1, 0xFFFFFFFF, 1, 0}};
    gfx::ComPtr<gfx::VertexBuffer> vb;
    ASSERT_EQ(device_->CreateVertexBuffer(sizeof(quad), 0, 0x144, gfx::Pool::Managed, vb.Put()),
              gfx::kOk);
    void* p = nullptr;
    vb->Lock(0, 0, &p, 0);
    std::memcpy(p, quad, sizeof(quad));
    vb->Unlock();
    device_->SetFVF(0x144);
    device_->SetStreamSource(0, vb.Get(), 0, sizeof(ScreenVertex));
    uint32_t passes = 0;
    effect->Begin(&passes, 0);
    ASSERT_EQ(passes, 1u);
    effect->BeginPass(0);
    device_->DrawPrimitive(gfx::PrimitiveType::TriangleStrip, 0, 2);
    effect->EndPass();
    effect->End();
  }

  static std::vector<uint8_t> Alphas(gfx::Texture* texture) {
    std::vector<uint8_t> bytes, alphas;
    uint32_t pitch = 0;
    EXPECT_EQ(texture->ReadLevel(0, &bytes, &pitch), gfx::kOk);
    for (uint32_t y = 0; y < kSize; ++y)
      for (uint32_t x = 0; x < kSize; ++x)
        alphas.push_back(bytes[y * pitch + x * 4 + 3]);
    return alphas;
  }
};

TEST_F(BlurEffectTest, BuiltinEffectBlursSeparablyWithAGaussian) {
  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ASSERT_TRUE(effect) << "the player's own effect 202";
  effect->SetFloat("TexW", float(kSize));
  effect->SetFloat("TexH", float(kSize));

  // One opaque white texel at (8, 8) on transparent black.
  std::vector<uint32_t> texels(kSize * kSize, 0);
  texels[8 * kSize + 8] = 0xFFFFFFFF;
  gfx::ComPtr<gfx::Texture> source;
  ASSERT_EQ(device_->CreateTexture(kSize, kSize, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed,
                                   source.Put()),
            gfx::kOk);
  source->WriteLevel(0, texels.data(), kSize * 4);

  RenderTargetSet targets;
  ASSERT_TRUE(targets.Create(kSize, kSize));
  gfx::Texture* a = targets.textures[0].Get();
  gfx::Texture* b = targets.textures[1].Get();

  Pass(effect.Get(), "GaussianBlurH", source.Get(), b);
  const auto horizontal = Alphas(b);
  for (int dx = 0; dx < 5; ++dx) {
    EXPECT_NEAR(horizontal[8 * kSize + 8 + dx], kWeights[dx] * 255, 1.0) << dx;
    EXPECT_NEAR(horizontal[8 * kSize + 8 - dx], kWeights[dx] * 255, 1.0) << dx;
  }
  EXPECT_EQ(horizontal[7 * kSize + 8], 0) << "a horizontal pass stays on its row";
  EXPECT_EQ(horizontal[8 * kSize + 14], 0) << "nine taps";

  for (const char* vertical : {"GaussianBlurV", "GaussianBlurVFirst"}) {
    Pass(effect.Get(), vertical, b, a);
    const auto both = Alphas(a);
    int total = 0;
    for (uint8_t alpha : both)
      total += alpha;
    EXPECT_NEAR(total, 255, 20) << vertical << ": the blur keeps the picture's weight";
    EXPECT_NEAR(both[8 * kSize + 8], kWeights[0] * kWeights[0] * 255, 1.0) << vertical;
    EXPECT_NEAR(both[6 * kSize + 9], kWeights[2] * kWeights[1] * 255, 1.0) << vertical;
    EXPECT_EQ(both[10 * kSize + 9], both[6 * kSize + 9]) << vertical << ": symmetric";
  }
}

}  // namespace
}  // namespace document_test
