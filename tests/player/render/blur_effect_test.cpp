#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/effect_quad.h"
#include "platform/gfx/surface_pixels.h"
#include "player/render/render_target_set.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

constexpr uint32_t kSize = 16;
constexpr double kWeights[5] = {0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541,
                                0.0162162162};

class BlurEffectTest : public DocumentTest {
 protected:
  // Draws `source` through the effect's technique over the whole of `target`.
  void Pass(gfx::Effect* effect, const char* technique, gfx::Texture* source,
            gfx::Texture* target) {
    effect->SetTexture("Texture", source);
    Draw(effect, technique, target, 0xFF808080);
  }

  // Clears `target` to `clear` and draws a quad over the whole of it through the technique,
  // with vertex colour `colour`.
  void Draw(gfx::Effect* effect, const char* technique, gfx::Texture* target, uint32_t clear,
            uint32_t colour = 0xFFFFFFFF) {
    SetTextureAsTarget(target);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, clear, 1, 0);
    ASSERT_EQ(effect->SetTechnique(technique), gfx::kOk);
    ASSERT_EQ(gfx_test::DrawEffectQuad(device_.Get(), effect, float(kSize), colour), 1u)
        << technique;
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
  EXPECT_EQ(source->WriteLevel(0, texels.data(), kSize * 4), gfx::kOk);

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

// The glow of a blurred picture laid on the picture below, channel by channel in 0..1: the glow
// texture's alpha a, the picture below b, the target's pixel t before the draw.
struct GlowCase {
  const char* technique;
  double (*channel)(double b, double g);  // null: g over the target
};

double Screen(double b, double g) {
  return 1 - (1 - b) * (1 - g);
}
double ColorDodge(double b, double g) {
  return std::min(1.0, b / (1 - g));
}
double LinearDodge(double b, double g) {
  return std::min(1.0, b + g);
}

double Channel(uint32_t argb, int shift) {
  return double((argb >> shift) & 0xFF) / 255.0;
}

TEST_F(BlurEffectTest, GlowTechniquesLayTheGlowOnThePictureBelow) {
  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ASSERT_TRUE(effect);
  // The blurred picture: alpha 0x40 on the left half, nothing on the right.
  std::vector<uint32_t> texels(kSize * kSize, 0);
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize / 2; ++x)
      texels[y * kSize + x] = 0x40FFFFFF;
  auto blurred = gfx_test::TextureFromTexels(device_.Get(), kSize, kSize, texels);
  const uint32_t below = 0xFF408000;
  auto picture = gfx_test::TextureFromTexels(device_.Get(), 1, 1, {below});
  const float colour[3] = {1.0f, 0.5f, 0.0f};
  effect->SetFloatArray("GlowColor", colour, 3);
  effect->SetFloat("GlowBrightness", 2.0f);
  effect->SetTexture("Background", picture.Get());
  const double k = std::min(1.0, 0x40 / 255.0 * 2.0);
  const double g[3] = {colour[0] * k, colour[1] * k, colour[2] * k};

  RenderTargetSet targets;
  ASSERT_TRUE(targets.Create(kSize, kSize));
  gfx::Texture* target = targets.textures[0].Get();
  const uint32_t blue = 0xFF0000FF;
  const GlowCase cases[] = {{"DrawGlowNormal", nullptr},
                            {"DrawGlowScreen", Screen},
                            {"DrawGlowColorDodge", ColorDodge},
                            {"DrawGlowLinearDodge", LinearDodge}};
  for (const GlowCase& c : cases) {
    // The node trees set the blurred picture as "GlowTexture", the classic controls as
    // "Texture0": one texture under two names.
    for (const char* name : {"Texture0", "GlowTexture"}) {
      SCOPED_TRACE(std::string(c.technique) + " with " + name);
      effect->SetTexture("Texture0", nullptr);
      effect->SetTexture(name, blurred.Get());
      Draw(effect.Get(), c.technique, target, blue);
      const auto px = gfx_test::TexturePixels(target);
      const uint32_t glowing = px[8 * kSize + 4], plain = px[8 * kSize + 12];
      for (int i = 0; i < 3; ++i) {
        const int shift = 16 - 8 * i;  // red, green, blue
        const double expected = c.channel ? c.channel(Channel(below, shift), g[i])
                                          : g[i] + (1 - k) * Channel(blue, shift);
        EXPECT_NEAR(Channel(glowing, shift), expected, 2.5 / 255) << "channel " << i;
        EXPECT_NEAR(Channel(plain, shift), Channel(c.channel ? below : blue, shift), 1.5 / 255)
            << "channel " << i << " without glow";
      }
      EXPECT_EQ(glowing >> 24, 0xFFu);
    }
  }
}

// kSize x kSize texels: `left` on the left half, `right` on the right.
std::vector<uint32_t> Halves(uint32_t left, uint32_t right) {
  std::vector<uint32_t> texels(kSize * kSize, right);
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize / 2; ++x)
      texels[y * kSize + x] = left;
  return texels;
}

// The inner glow: the uncovered part of a ribbon picture is written as light, and the blurred
// light, coloured, is laid over the target only where the ribbon itself lies.
TEST_F(BlurEffectTest, InnerGlowLightsTheUncoveredAndColoursOnlyInsideTheMask) {
  ComRef<gfx::Effect> effect = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ASSERT_TRUE(effect);
  RenderTargetSet targets;
  ASSERT_TRUE(targets.Create(kSize, kSize));
  gfx::Texture* target = targets.textures[0].Get();

  // A ribbon picture: opaque red on the left half, alpha 0x40 on the right.
  auto picture =
      gfx_test::TextureFromTexels(device_.Get(), kSize, kSize, Halves(0xFFFF0000, 0x40FF0000));
  effect->SetTexture("Texture", picture.Get());
  Draw(effect.Get(), "InnerGlowFirstStep", target, 0xFF0000FF);
  auto px = gfx_test::TexturePixels(target);
  EXPECT_EQ(px[8 * kSize + 3], 0x00000000u) << "covered: no light, the target replaced";
  for (int shift : {0, 8, 16, 24})
    EXPECT_NEAR(int((px[8 * kSize + 12] >> shift) & 0xFF), 0xFF - 0x40, 1) << shift;

  // The blurred light 0x80 everywhere; the mask covers the left half only.
  auto blurred = gfx_test::TextureFromTexels(device_.Get(), 1, 1, {0x80FFFFFF});
  auto maskTexture =
      gfx_test::TextureFromTexels(device_.Get(), kSize, kSize, Halves(0xFF000000, 0));
  effect->SetTexture("Texture", blurred.Get());
  effect->SetTexture("Mask", maskTexture.Get());
  effect->SetFloat("TexW", float(kSize));
  effect->SetFloat("TexH", float(kSize));
  const float colour[4] = {1.0f, 0.5f, 0.0f, 0.5f};
  effect->SetFloatArray("Color", colour, 4);
  Draw(effect.Get(), "MaskedNormalEffect", target, 0xFF0000FF);
  px = gfx_test::TexturePixels(target);
  // k = 0.5 (colour alpha) x 0.5 (light) x 1 (mask): 0.25 of the colour over 0.75 of blue.
  const double k = 0.5 * (0x80 / 255.0);
  const double expected[3] = {1.0 * k, 0.5 * k, 0.0 * k + (1 - k)};
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(Channel(px[8 * kSize + 3], 16 - 8 * i), expected[i], 2.0 / 255) << "channel " << i;
  EXPECT_EQ(px[8 * kSize + 3] >> 24, 0xFFu);
  EXPECT_EQ(px[8 * kSize + 12], 0xFF0000FFu) << "outside the mask the target stays";
}

// Effect 202's quad blends and effect 185's radial-glow blends (whose picture has its alpha
// multiplied in, transparent while unset).
TEST_F(BlurEffectTest, BlendTechniquesDrawTextureTimesVertexColourOverOrAdded) {
  ComRef<gfx::Effect> blur = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  ComRef<gfx::Effect> radial = Doc().GetEffect(DS_HLSLEffectFile(u"glimres.dll", 185));
  ASSERT_TRUE(blur);
  ASSERT_TRUE(radial) << "the player's own effect 185";
  RenderTargetSet targets;
  ASSERT_TRUE(targets.Create(kSize, kSize));
  gfx::Texture* target = targets.textures[0].Get();
  auto halfRed = gfx_test::TextureFromTexels(device_.Get(), 1, 1, {0x80FF0000});
  auto halfRedPremultiplied = gfx_test::TextureFromTexels(device_.Get(), 1, 1, {0x80800000});
  struct Case {
    gfx::Effect* effect;
    const char* technique;
    gfx::Texture* texture;
    uint32_t colour;
    uint32_t expected;
  } cases[] = {
      // Alpha blends like the colour: 0.5 x 0.5 + 0.5 x 1.
      {blur.Get(), "BlendNormal", halfRed.Get(), 0xFFFFFFFF, 0xBF80007F},
      {blur.Get(), "BlendSum", halfRed.Get(), 0xFFFFFFFF, 0xFF8000FF},
      {blur.Get(), "BlendNormal", halfRed.Get(), 0xFF00FF00, 0xBF00007F},  // green on red: black
      {blur.Get(), "BlendNormal", nullptr, 0xFF00FF00, 0xFF00FF00},  // no texture: vertex colour
      {blur.Get(), "BlendSum", nullptr, 0x8000FF00, 0xFF0080FF},
      {radial.Get(), "BlendNormal_AlphaPM", halfRedPremultiplied.Get(), 0xFFFFFFFF, 0xFF80007F},
      // The vertex alpha scales the colour as well: a quarter of red over three quarters of blue.
      {radial.Get(), "BlendNormal_AlphaPM", halfRedPremultiplied.Get(), 0x80FFFFFF, 0xFF4000BF},
      {radial.Get(), "BlendSum", halfRedPremultiplied.Get(), 0xFFFFFFFF, 0xFF8000FF},
      {radial.Get(), "BlendSum", halfRedPremultiplied.Get(), 0xFF00FF00, 0xFF0000FF},
      {radial.Get(), "BlendNormal_AlphaPM", nullptr, 0xFFFFFFFF, 0xFF0000FF},  // unset: nothing
      {radial.Get(), "BlendSum", nullptr, 0xFFFFFFFF, 0xFF0000FF},
  };
  for (const Case& c : cases) {
    c.effect->SetTexture("Texture0", c.texture);
    Draw(c.effect, c.technique, target, 0xFF0000FF, c.colour);
    const uint32_t pixel = gfx_test::TexturePixels(target)[8 * kSize + 8];
    for (int shift : {0, 8, 16, 24})
      EXPECT_NEAR(int((pixel >> shift) & 0xFF), int((c.expected >> shift) & 0xFF), 1)
          << c.technique << " " << std::hex << c.colour << " got " << pixel;
  }
}

}  // namespace
}  // namespace document_test
