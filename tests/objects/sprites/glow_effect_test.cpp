// Effect 97, the glow sprites' effect, technique by technique.
#include "platform/gfx/effect_quad.h"
#include "player/render/render_target_set.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

constexpr uint32_t kSize = 8;

class GlowEffect : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    effect_ = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 97));
    ASSERT_TRUE(effect_) << "the player's own effect 97";
    target_ = MakeRenderTarget(kSize, kSize);
    ASSERT_TRUE(target_);
  }

  // A texture of one colour.
  ComRef<gfx::Texture> Solid(uint32_t colour) {
    gfx::Texture* texture = nullptr;
    EXPECT_EQ(
        device_->CreateTexture(2, 2, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, &texture),
        gfx::kOk);
    const uint32_t texels[4] = {colour, colour, colour, colour};
    if (texture != nullptr) EXPECT_EQ(texture->WriteLevel(0, texels, 8), gfx::kOk);
    return ComRef<gfx::Texture>(texture);
  }

  // Draws a quad over the whole target through the technique, with the vertex colour.
  void Quad(const char* technique, uint32_t colour = 0xFFFFFFFF) {
    SetTextureAsTarget(target_.Get());
    ASSERT_EQ(effect_->SetTechnique(technique), gfx::kOk);
    ASSERT_EQ(gfx_test::DrawEffectQuad(device_.Get(), effect_.Get(), float(kSize), colour), 1u);
  }
  void ClearTarget(uint32_t colour) {
    SetTextureAsTarget(target_.Get());
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, colour, 1, 0);
  }
  uint32_t Result() { return Pixels(target_.Get())[kSize * kSize / 2 + kSize / 2]; }

  ComRef<gfx::Effect> effect_;
  ComRef<gfx::Texture> target_;
};

// Sprites drawn into the glow target keep the brightest value of each channel.
TEST_F(GlowEffect, BlendMaxKeepsTheBrightest) {
  ClearTarget(0x00000000);
  effect_->SetTexture("Texture1", Solid(0xFFFFFFFF).Get());
  Quad("Blend_Max", 0x80FF2000);
  Quad("Blend_Max", 0xFF40A010);
  const uint32_t pixel = Result();
  EXPECT_NEAR(Channel(pixel, 24), 0xFF, 1);
  EXPECT_NEAR(Channel(pixel, 16), 0xFF, 1);
  EXPECT_NEAR(Channel(pixel, 8), 0xA0, 1);
  EXPECT_NEAR(Channel(pixel, 0), 0x10, 1);
}

// The glow laid over the picture below by BlendColor's alpha, tinted by its colour, written
// whole (the target's own content does not show through).
TEST_F(GlowEffect, BlendNormalLaysTheTintedGlowOver) {
  ClearTarget(0xFF0000FF);
  effect_->SetTexture("Texture1", Solid(0xFF808080).Get());
  effect_->SetTexture("Texture2", Solid(0xFFFFFFFF).Get());
  const float tint[4] = {1.0f, 1.0f, 0.0f, 0.5f};
  effect_->SetFloatArray("BlendColor", tint, 4);
  Quad("Blend_Normal");
  const uint32_t pixel = Result();
  EXPECT_NEAR(Channel(pixel, 16), 0xC0, 2);
  EXPECT_NEAR(Channel(pixel, 8), 0xC0, 2);
  EXPECT_NEAR(Channel(pixel, 0), 0x40, 2) << "pulled towards the tint's blue 0";
  EXPECT_EQ(Channel(pixel, 24), 0xFF);
}

// Screen composition never darkens the picture below, whatever the glow's colour and weight.
TEST_F(GlowEffect, BlendScreenNeverDarkens) {
  effect_->SetTexture("Texture1", Solid(0xFF806040).Get());
  for (uint32_t glow : {0x00000000u, 0xFF000000u, 0x80FFFFFFu, 0xFF102030u, 0xFFFFFFFFu}) {
    for (float weight : {0.0f, 0.3f, 1.0f}) {
      effect_->SetTexture("Texture2", Solid(glow).Get());
      const float tint[4] = {1.0f, 0.5f, 0.25f, weight};
      effect_->SetFloatArray("BlendColor", tint, 4);
      ClearTarget(0xFF000000);
      Quad("Blend_Screen");
      const uint32_t pixel = Result();
      EXPECT_GE(Channel(pixel, 16), 0x80 - 1) << std::hex << glow << " " << weight;
      EXPECT_GE(Channel(pixel, 8), 0x60 - 1);
      EXPECT_GE(Channel(pixel, 0), 0x40 - 1);
    }
  }
  // A white glow at full weight screens to white.
  effect_->SetTexture("Texture2", Solid(0xFFFFFFFF).Get());
  const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  effect_->SetFloatArray("BlendColor", white, 4);
  Quad("Blend_Screen");
  EXPECT_EQ(Result() & 0xFFFFFF, 0xFFFFFFu);
}

// The sprites on top: texture times vertex colour, blended by alpha.
TEST_F(GlowEffect, CommonBlendsTheSpritesOnTop) {
  ClearTarget(0xFF000000);
  effect_->SetTexture("Texture1", Solid(0xFFFFFFFF).Get());
  Quad("Common", 0x80FF0000);
  const uint32_t pixel = Result();
  EXPECT_NEAR(Channel(pixel, 16), 0x80, 2);
  EXPECT_EQ(Channel(pixel, 8), 0);
}

}  // namespace
}  // namespace sprite_test
