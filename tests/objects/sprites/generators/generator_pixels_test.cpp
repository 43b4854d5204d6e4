// What the generators' masks draw, read back from the headless device: stars composed with the
// picture below in each blend mode, sparkles of two pictures joined in the mask, a mask that
// starts clear each frame, and the draw without an effect.
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"

namespace generator_test {
namespace {

constexpr uint32_t kGrey = 0xFF808080;

class GeneratorPixels : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    StartSlideOn(renderer_, width_, height_, kGrey);
    ProvidePicture(kWhite, 8, 8, 0xFFFFFFFF);
    ProvidePicture(kRed, 8, 8, 0xFFFF0000);
    ProvidePicture(kBlue, 8, 8, 0xFF0000FF);
  }

  // One star 12 wide at (x, y), opaque, with the mask effect.
  static DS_TwinklingStars Star(int blendMode, uint32_t colour, float x = 32, float y = 16) {
    DS_TwinklingStars stars;
    stars.pictures = {kWhite};
    stars.effectLink = MaskEffect();
    stars.blendMode.SetValue(blendMode);
    stars.colour1.SetValue(colour);
    stars.size.SetValue(12);
    stars.dabs.emplace_back(D3DXVECTOR3(x, y, 0));
    return stars;
  }

  // Starts the description's run-time object, updates it twice and draws a frame with it.
  template <class Kind>
  Running<Kind> DrawFrame(Kind& description) {
    Running<Kind> run = StartRuntime(description);
    if (run.obj == nullptr) return run;
    run.obj->Update(0.0f);
    run.obj->Update(0.05f);
    Draw(run.handle);
    return run;
  }
  // A frame with the object.
  void Draw(const DS_SafePtr<ZKW_RenderObj>& object) { Frame(renderer_, {object}); }
  uint32_t At(int x, int y) { return ColourAt(x, y); }

  static inline const DS_ImageFileLink kWhite{u"white.png", 1};
  static inline const DS_ImageFileLink kRed{u"red.png", 2};
  static inline const DS_ImageFileLink kBlue{u"blue.png", 3};
  DS_2D_Light renderer_;
};

// A star of grey 0x66 (0.4) over grey 0x80 (0.5): laid over it is 0.4; screened 1 - 0.5 x 0.6
// = 0.7; dodged 0.5 / 0.6 = 0.83; added 0.9. Far from the star the picture stays.
TEST_F(GeneratorPixels, StarsComposeWithThePictureBelowByTheirBlendMode) {
  const int expected[] = {102, 179, 213, 230};
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    DS_TwinklingStars stars = Star(mode, 0x666666);
    auto run = DrawFrame(stars);
    ASSERT_NE(run.obj, nullptr);
    EXPECT_EQ(run.obj->NeedsPictureBelow(), mode == 1 || mode == 2 ? 1 : 0);
    const uint32_t centre = At(32, 16);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(Channel(centre, shift), expected[mode], 3) << shift;
    EXPECT_EQ(At(5, 5), kGrey);
    EXPECT_EQ(At(60, 28), kGrey);
  }
}

// Layer 0 is drawn with the first picture in colour 2, layer 1 over it with the second in colour
// 1. With one picture the second layer is left out.
TEST_F(GeneratorPixels, SparklesOfTwoPicturesJoinInTheMask) {
  for (bool twoPictures : {true, false}) {
    SCOPED_TRACE(twoPictures);
    DS_Bling bling;
    bling.pictures = {kRed};
    if (twoPictures) bling.pictures.push_back(kBlue);
    bling.effectLink = MaskEffect();
    bling.size.SetValue(12);
    bling.minimumSize.SetValue(100);
    bling.dabs.emplace_back(D3DXVECTOR3(32, 16, 0));
    auto run = DrawFrame(bling);
    ASSERT_NE(run.obj, nullptr);
    const uint32_t centre = At(32, 16);
    EXPECT_EQ(Channel(centre, 16), twoPictures ? 0 : 255);
    EXPECT_EQ(Channel(centre, 0), twoPictures ? 255 : 0);
    EXPECT_EQ(At(5, 5), kGrey);
  }
}

// A star moved between two frames leaves nothing where it was: the mask is cleared each frame.
TEST_F(GeneratorPixels, TheMaskStartsClearEveryFrame) {
  DS_TwinklingStars stars = Star(0, 0xFFFFFF, 16, 16);
  auto run = DrawFrame(stars);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(At(16, 16), 0xFFFFFFFFu);
  run.Clone().dabs.front().position = D3DXVECTOR3(48, 16, 0);
  run.obj->Update(0.1f);
  Draw(run.handle);
  EXPECT_EQ(At(16, 16), kGrey);
  EXPECT_EQ(At(48, 16), 0xFFFFFFFFu);
  // The mask itself holds the star alone, over transparent black.
  RenderTargetSet* mask = run.Clone().maskTarget;
  ASSERT_NE(mask, nullptr);
  ASSERT_TRUE(mask->current);
  EXPECT_EQ(mask->width, width_);
  const std::vector<uint32_t> held = Pixels(mask->current.Get());
  EXPECT_EQ(held[16 * width_ + 16], 0u);
  EXPECT_EQ(held[16 * width_ + 48] >> 24, 255u);
}

// Without an effect the star is drawn straight over the picture, and in a mode that reads the
// picture below the object asks for none, so that the picture is not lost.
TEST_F(GeneratorPixels, WithoutAnEffectStarsAreDrawnStraightOver) {
  DS_TwinklingStars stars = Star(1, 0x0000FF);
  stars.effectLink = DS_HLSLEffectFile();
  auto run = DrawFrame(stars);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 0);
  EXPECT_EQ(At(32, 16), 0xFFFF0000u);
  EXPECT_EQ(At(5, 5), kGrey);
}

// Run-time objects made from one description share its mask, made at the back buffer's size.
TEST_F(GeneratorPixels, ClonesOfOneDescriptionShareItsMask) {
  DS_TwinklingStars stars = Star(0, 0xFFFFFF);
  auto first = StartRuntime(stars);
  auto second = StartRuntime(stars);
  ASSERT_NE(first.Clone().maskTarget, nullptr);
  EXPECT_EQ(first.Clone().maskTarget, second.Clone().maskTarget);
  EXPECT_EQ(first.Clone().maskTarget->height, height_);
  DS_TwinklingStars other = Star(0, 0xFFFFFF);
  EXPECT_NE(StartRuntime(other).Clone().maskTarget, first.Clone().maskTarget);
}

// A mask that could not be made (its textures gone): stars are drawn straight over the picture,
// and sparkles, which only join in a mask, draw nothing.
TEST_F(GeneratorPixels, WithoutAMaskStarsDrawStraightAndSparklesNothing) {
  DS_TwinklingStars stars = Star(2, 0x0000FF);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.Clone().maskTarget, nullptr);
  run.Clone().maskTarget->Release();
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 0);
  run.obj->Update(0.0f);
  Draw(run.handle);
  EXPECT_EQ(At(32, 16), 0xFFFF0000u);

  DS_Bling bling;
  bling.pictures = {kRed, kBlue};
  bling.effectLink = MaskEffect();
  bling.size.SetValue(12);
  bling.minimumSize.SetValue(100);
  bling.dabs.emplace_back(D3DXVECTOR3(32, 16, 0));
  auto sparkles = StartRuntime(bling);
  sparkles.Clone().maskTarget->Release();
  sparkles.obj->Update(0.0f);
  Draw(sparkles.handle);
  EXPECT_EQ(At(32, 16), kGrey);
}

TEST_F(GeneratorPixels, AnInactiveStarReadsNoPictureBelow) {
  DS_TwinklingStars stars = Star(2, 0xFFFFFF);
  auto run = StartRuntime(stars);
  ASSERT_NE(run.obj, nullptr);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 1);
  run.obj->SetActive(false);
  EXPECT_EQ(run.obj->NeedsPictureBelow(), 0);
}

}  // namespace
}  // namespace generator_test
