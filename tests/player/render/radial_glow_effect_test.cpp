#include <gtest/gtest.h>

#include <cstdint>

#include "platform/gfx/effect_quad.h"
#include "platform/gfx/surface_pixels.h"
#include "player/render/render_target_set.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

constexpr uint32_t kSize = 16;

class RadialGlowEffectTest : public DocumentTest {};

TEST_F(RadialGlowEffectTest, PremultipliedPictureTimesVertexColourOverOrAdded) {
  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 185));
  ASSERT_TRUE(effect) << "the player's own effect 185";
  RenderTargetSet targets;
  ASSERT_TRUE(targets.Create(kSize, kSize));
  gfx::Texture* target = targets.textures[0].Get();
  // Red at half alpha, the alpha multiplied in.
  auto halfRed = gfx_test::TextureFromTexels(device_.Get(), 1, 1, {0x80800000});
  struct Case {
    const char* technique;
    gfx::Texture* texture;
    uint32_t colour;
    uint32_t expected;
  } cases[] = {
      {"BlendNormal_AlphaPM", halfRed.Get(), 0xFFFFFFFF, 0xFF80007F},
      // The vertex alpha scales the colour as well: a quarter of red over three quarters of blue.
      {"BlendNormal_AlphaPM", halfRed.Get(), 0x80FFFFFF, 0xFF4000BF},
      {"BlendSum", halfRed.Get(), 0xFFFFFFFF, 0xFF8000FF},
      {"BlendSum", halfRed.Get(), 0xFF00FF00, 0xFF0000FF},       // green light on red adds nothing
      {"BlendNormal_AlphaPM", nullptr, 0xFFFFFFFF, 0xFF0000FF},  // unset: transparent
      {"BlendSum", nullptr, 0xFFFFFFFF, 0xFF0000FF},
  };
  for (const Case& c : cases) {
    effect->SetTexture("Texture0", c.texture);
    SetTextureAsTarget(target);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF0000FF, 1, 0);
    ASSERT_EQ(effect->SetTechnique(c.technique), gfx::kOk);
    ASSERT_EQ(gfx_test::DrawEffectQuad(device_.Get(), effect.Get(), float(kSize), c.colour), 1u);
    const uint32_t pixel = gfx_test::TexturePixels(target)[8 * kSize + 8];
    for (int shift : {0, 8, 16, 24})
      EXPECT_NEAR(int((pixel >> shift) & 0xFF), int((c.expected >> shift) & 0xFF), 1)
          << c.technique << " " << std::hex << c.colour << " got " << pixel;
  }
}

}  // namespace
}  // namespace document_test
