// What the sprite-array object draws through the renderer's sprite layer: the colour rule,
// additive blending, the second picture, and batches past 16,384 quads.
#include "objects/sprites/ds_sprite_array_obj.h"

#include "player/render/quad_blocks.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class SpritePixels : public SpriteTest {
 protected:
  // The renderer on a picture of the back buffer's size, so that scene pixels are target
  // pixels; the sprites' picture is white, the second picture (when used) green.
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, background_);
    ProvidePicture(kWhite, 4, 4, 0xFFFFFFFF);
    ProvidePicture(kGreen, 4, 4, 0xFF00FF00);
  }

  // One frame of the slide with `obj` as its only object; the back buffer's pixels.
  std::vector<uint32_t> Draw(std::unique_ptr<DS_SpriteArrayObj> obj) {
    RuntimeObjectList objects;
    objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(std::move(obj)));
    Frame(renderer_, objects);
    return BackBufferPixels();
  }
  uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) const {
    return pixels[size_t(y) * width_ + x];
  }

  const DS_ImageFileLink kWhite{u"pictures.dll", 11};
  const DS_ImageFileLink kGreen{u"pictures.dll", 12};
  uint32_t background_ = 0xFF000000;
  DS_2D_Light renderer_;
};

// The preset's colour and transparency make the sprite's colour word; the timeline's value
// fades it when the vertices are filled.
TEST_F(SpritePixels, OneSpriteTintedAndFadedByTheColourRule) {
  PlacedSprites preset;
  preset.picture = kWhite;
  preset.colour.SetValue(0x0000FF);  // red
  preset.transparency.SetValue(50);  // alpha 127
  preset.places = {{0, {20.0f, 16.0f, preset.SpriteColour(1.0f)}}};
  preset.halfSize = 4.0f;
  SetTimelineValue(preset, 0.5f);  // alpha 63
  auto obj = MakeArray(preset);
  obj->Update(0.0f);
  const std::vector<uint32_t> px = Draw(std::move(obj));
  const uint32_t inside = At(px, 20, 16);
  EXPECT_NEAR(Channel(inside, 16), 63, 2);
  EXPECT_EQ(Channel(inside, 8), 0);
  EXPECT_EQ(Channel(inside, 0), 0);
  EXPECT_EQ(At(px, 20, 25) & 0xFFFFFF, 0u) << "outside the quad";
  EXPECT_EQ(At(px, 10, 16) & 0xFFFFFF, 0u);
}

// Blend mode 1 adds the sprites to what lies below; blend mode 0 lays them over it.
TEST_F(SpritePixels, BlendModeOneAdds) {
  background_ = 0xFF808080;
  StartSlideOn(renderer_, width_, height_, background_);
  for (const auto& [blend, expected] : {std::pair{0, 0x40}, std::pair{1, 0xC0}}) {
    PlacedSprites preset;
    preset.picture = kWhite;
    preset.blendMode.SetValue(blend);
    preset.places = {{0, {20.0f, 16.0f, 0xFF404040}}};
    preset.halfSize = 4.0f;
    auto obj = MakeArray(preset);
    obj->Update(0.0f);
    const uint32_t pixel = At(Draw(std::move(obj)), 20, 16);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(Channel(pixel, shift), expected, 2) << blend;
  }
}

// A second picture is drawn over the sprites in a second pass with its own colour: laid over
// them, or added to them with blend mode 1.
TEST_F(SpritePixels, SecondPicturePass) {
  for (const auto& [blend, red] : {std::pair{0, 0}, std::pair{1, 0xFF}}) {
    PlacedSprites preset;
    preset.picture = kWhite;
    preset.secondPicture = kGreen;
    preset.blendMode.SetValue(blend);
    preset.places = {{0, {20.0f, 16.0f, 0xFFFF0000}}};
    preset.halfSize = 4.0f;
    auto obj = MakeArray(preset);
    ASSERT_NE(obj->SecondTexture(), nullptr);
    obj->Update(0.0f);
    const uint32_t pixel = At(Draw(std::move(obj)), 20, 16);
    EXPECT_NEAR(Channel(pixel, 16), red, 2) << blend;
    EXPECT_NEAR(Channel(pixel, 8), 0xFF, 2) << blend;
    EXPECT_EQ(Channel(pixel, 0), 0) << blend;
  }
}

// 20,000 one-pixel sprites: the one of the first block and the last one (which a wrapped
// 16-bit index would draw over the first) each show at their own pixel.
TEST_F(SpritePixels, TwentyThousandSpritesEachInTheirPlace) {
  constexpr size_t kLast = 19999;
  constexpr size_t kShadowed = kLast - kQuadsPerBlock;  // 3615
  PlacedSprites preset;
  preset.picture = kWhite;
  preset.count.SetValue(kLast + 1);
  preset.places = {{kShadowed, {8.5f, 8.5f, 0xFF00FF00}}, {kLast, {24.5f, 8.5f, 0xFFFF0000}}};
  auto obj = MakeArray(preset);
  obj->Update(0.0f);
  ClearLog();
  const std::vector<uint32_t> px = Draw(std::move(obj));
  EXPECT_EQ(At(px, 8, 8), 0xFF00FF00u);
  EXPECT_EQ(At(px, 24, 8), 0xFFFF0000u);
  EXPECT_EQ(At(px, 9, 8), 0xFF000000u) << "one pixel each";
}

}  // namespace
}  // namespace sprite_test
