#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/gfx/effect_quad.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

using NodeTreeEffect = TreeRenderTest;

// Each technique of effect 306 over the whole target: Texture0 a half-transparent picture,
// Texture1 a solid green picture (the picture below for the non-premultiplied techniques).
TEST_F(NodeTreeEffect, EveryTechniqueBlendsAsItsNodeExpects) {
  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 306));
  ASSERT_TRUE(effect) << "the player's own effect 306";
  const ComRef<gfx::Texture> straight = MakeTexture(2, 2, std::vector<uint32_t>(4, 0x80FFFFFF));
  const ComRef<gfx::Texture> premultiplied =
      MakeTexture(2, 2, std::vector<uint32_t>(4, 0x80808080));
  const ComRef<gfx::Texture> green = MakeTexture(2, 2, std::vector<uint32_t>(4, 0xFF00FF00));
  struct Case {
    const char* technique;
    gfx::Texture* texture0;
    uint32_t vertex, background;
    int red, green;
  };
  const Case cases[] = {
      // Premultiplied: Texture0 x the vertex colour, its alpha scaling the colour too.
      {"BlendNormal_PMTexture", premultiplied.Get(), 0xFFFFFFFF, 0xFF404040, 128 + 32, 128 + 32},
      {"BlendNormal_PMTexture", premultiplied.Get(), 0x80FFFFFF, 0xFF000000, 64, 64},
      {"BlendSum_PMTexture", premultiplied.Get(), 0xFFFFFFFF, 0xFF404040, 128 + 64, 128 + 64},
      {"BlendNormal_AlphaPM", premultiplied.Get(), 0xFFFFFFFF, 0xFF000000, 128, 128},
      // The picture below (Texture1) through Texture0's alpha x the vertex colour.
      {"BlendNormal", straight.Get(), 0xFFFFFFFF, 0xFF404040, 32, 128 + 32},
      {"BlendSum", straight.Get(), 0xFFFFFFFF, 0xFF404040, 64, 128 + 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.technique);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, c.background, 1, 0);
    effect->SetTexture("Texture0", c.texture0);
    effect->SetTexture("Texture1", green.Get());
    ASSERT_EQ(effect->SetTechnique(c.technique), gfx::kOk);
    ASSERT_EQ(gfx_test::DrawEffectQuad(device_.Get(), effect.Get(), 64.0f, c.vertex), 1u);
    const uint32_t pixel = PixelAt(32, 32);
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), c.red, 3);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), c.green, 3);
  }
  // Without a picture nothing shows.
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF404040, 1, 0);
  effect->SetTexture("Texture0", nullptr);
  effect->SetTechnique("BlendNormal_PMTexture");
  gfx_test::DrawEffectQuad(device_.Get(), effect.Get(), 64.0f);
  EXPECT_EQ(PixelAt(32, 32), 0xFF404040u);
}

}  // namespace
}  // namespace tree_test
