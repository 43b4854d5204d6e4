// What the text objects show: a quad text with its shadow to its right, a scrolling quad text
// that moves, and a sprite text tinted by its colour and faded by its timeline.
#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "text_object_fixture.h"

namespace text_object_test {
namespace {

class TextPixels : public TextObjectTest {
 protected:
  // The objects' frame at local time t on the blue slide; answers the back buffer.
  std::vector<uint32_t> Show(DS_2D_Light& renderer, const DS_SafePtr<ZKW_RenderObj>& object,
                             float t) {
    object->SetActive(true);
    object->Update(t);
    Frame(renderer, RuntimeObjectList{object});
    return BackBufferPixels();
  }
  static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[size_t(y) * 64 + size_t(x)];
  }
  static int Channel(uint32_t pixel, int shift) { return int((pixel >> shift) & 0xFF); }

  const DS_ImageFileLink picture_{u"text.png", 1};
};

// The left half of a 32-texel picture is white; the shadow, red and 8 texels to the right,
// shows where the text is not.
TEST_F(TextPixels, AQuadTextShowsItsShadowToItsRight) {
  std::vector<uint32_t> texels(32 * 32);
  for (size_t i = 0; i < texels.size(); ++i)
    texels[i] = i % 32 < 16 ? 0xFFFFFFFF : 0x00000000;
  ProvideFrame(picture_, 32, 32, texels);
  DS_StaticText description;
  Dress(description, {picture_}, 32, 32, D3DXVECTOR3(32, 32, 0));
  description.shadowOn.SetValue(1);
  description.shadowDistance.SetValue(8);
  description.shadowColour.SetValue(0x0000FF);
  auto made = MakeQuadText(description);
  DS_2D_Light renderer;
  StartSlideOn(renderer, 64, 64, 0xFF0000FF);
  const std::vector<uint32_t> pixels = Show(renderer, made.handle, 0.1f);
  EXPECT_EQ(At(pixels, 20, 32), 0xFFFFFFFFu) << "the text";
  EXPECT_EQ(At(pixels, 29, 32), 0xFFFFFFFFu) << "the text over its shadow";
  EXPECT_EQ(At(pixels, 36, 32), 0xFFFF0000u) << "the shadow";
  EXPECT_EQ(At(pixels, 44, 32), 0xFF0000FFu) << "the slide";
  EXPECT_EQ(At(pixels, 10, 32), 0xFF0000FFu) << "outside the quad";
}

// A horizontal scroll (direction 2) of a 2 s cycle: hidden off the quad at the start, half
// way in at 0.4 s, wholly in at 1 s.
TEST_F(TextPixels, AScrollingQuadTextMovesWithTime) {
  ProvideFrame(picture_, 32, 32, std::vector<uint32_t>(32 * 32, 0xFFFFFFFF));
  DS_ScrollingTex description;
  Dress(description, {picture_}, 32, 32, D3DXVECTOR3(32, 32, 0));
  description.direction.SetValue(2);
  Hold(description, TimingState::Shown, 1.0f, 2.0f);
  auto made = MakeQuadText(description);
  DS_2D_Light renderer;
  StartSlideOn(renderer, 64, 64, 0xFF0000FF);
  const std::vector<uint32_t> start = Show(renderer, made.handle, 0.0f);
  EXPECT_EQ(At(start, 40, 32), 0xFF0000FFu);
  std::vector<uint32_t> pixels;
  for (float t : {0.2f, 0.4f})
    pixels = Show(renderer, made.handle, t);
  EXPECT_EQ(At(pixels, 40, 32), 0xFFFFFFFFu);
  EXPECT_EQ(At(pixels, 28, 32), 0xFF0000FFu);
  for (float t : {0.6f, 0.8f, 1.0f})
    pixels = Show(renderer, made.handle, t);
  EXPECT_EQ(At(pixels, 28, 32), 0xFFFFFFFFu);
  EXPECT_EQ(At(pixels, 17, 32), 0xFFFFFFFFu);
}

// A white picture on a sprite in green, half faded in: half-bright green on black.
TEST_F(TextPixels, ASpriteTextIsTintedAndFaded) {
  DS_StaticTextConstructor description;
  description.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  description.position.SetValue(D3DXVECTOR3(32, 32, 0));
  description.width.SetValue(32);
  description.height.SetValue(32);
  description.colour.SetValue(0x00FF00);
  Doc().guidTextures[description.PictureKey()] = MakeTexture(2, 2, {~0u, ~0u, ~0u, ~0u});
  Hold(description, TimingState::FadingIn, 0.5f);
  auto made = MakeSpriteText(description);
  DS_2D_Light renderer;
  StartSlideOn(renderer, 64, 64, 0xFF000000);
  uint32_t centre = At(Show(renderer, made.handle, 0.1f), 32, 32);
  EXPECT_NEAR(Channel(centre, 8), 128, 3);
  EXPECT_EQ(Channel(centre, 16), 0);
  EXPECT_EQ(Channel(centre, 0), 0);
  EXPECT_EQ(At(BackBufferPixels(), 8, 32), 0xFF000000u) << "outside the sprite";

  Hold(*made.text, TimingState::Shown, 1.0f);
  centre = At(Show(renderer, made.handle, 0.2f), 32, 32);
  EXPECT_EQ(centre, 0xFF00FF00u);

  // Without its picture the sprite shows no box.
  made.text->textPicture = {};
  centre = At(Show(renderer, made.handle, 0.3f), 32, 32);
  EXPECT_EQ(centre, 0xFF000000u);
}

// A sprite text scrolling horizontally (direction 2, one phase a second): its picture's white
// left half starts where the picture lies and moves left by 0.3 of the sprite as the phase
// moves by 0.1; what scrolls past the picture's edge is clear.
TEST_F(TextPixels, AScrollingSpriteTextMovesWithTime) {
  DS_ScrollingTextConstructor description;
  description.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
  description.position.SetValue(D3DXVECTOR3(32, 32, 0));
  description.width.SetValue(32);
  description.height.SetValue(32);
  description.pictureWidth = description.pictureHeight = 32.0f;
  description.colour.SetValue(0xFFFFFF);
  description.motionRate.SetValue(50);
  description.scrollDivisor.SetValue(1);
  description.direction.SetValue(2);
  std::vector<uint32_t> texels(32 * 32);
  for (size_t i = 0; i < texels.size(); ++i)
    texels[i] = i % 32 < 16 ? 0xFFFFFFFF : 0x00000000;
  Doc().guidTextures[description.PictureKey()] = MakeTexture(32, 32, texels);
  auto made = MakeSpriteText(description);
  DS_2D_Light renderer;
  StartSlideOn(renderer, 64, 64, 0xFF000000);
  std::vector<uint32_t> pixels = Show(renderer, made.handle, 0.0f);
  EXPECT_EQ(At(pixels, 26, 32), 0xFFFFFFFFu);
  EXPECT_EQ(At(pixels, 40, 32), 0xFF000000u);
  pixels = Show(renderer, made.handle, 0.1f);
  EXPECT_EQ(At(pixels, 18, 32), 0xFFFFFFFFu);
  EXPECT_EQ(At(pixels, 26, 32), 0xFF000000u);
  EXPECT_EQ(At(pixels, 46, 32), 0xFF000000u) << "past the picture's edge";
}

}  // namespace
}  // namespace text_object_test
