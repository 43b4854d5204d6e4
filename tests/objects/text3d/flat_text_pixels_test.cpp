// The flat textured text drawn through the player's effect 1902 on a headless device.
#include <gtest/gtest.h>

#include "objects/text3d/text3d_fixture.h"
#include "objects/text3d/zkw_2d_tex.h"

namespace text3d_test {
namespace {

constexpr uint32_t kBlack = 0xFF000000, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00,
                   kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF;

// A text picture of 32 x 16 texels: opaque white in columns 8..23 and rows 4..11 (or all over),
// clear elsewhere.
std::vector<uint32_t> TextTexels(bool whole = false) {
  std::vector<uint32_t> texels(32 * 16, 0x00FFFFFF);
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 32; ++x)
      if (whole || (x >= 8 && x < 24 && y >= 4 && y < 12)) texels[y * 32 + x] = 0xFFFFFFFF;
  return texels;
}

class FlatTextPixelsTest : public Text3dTest {
 protected:
  void SetUp() override {
    Text3dTest::SetUp();
    StartSlideOn(renderer_, 64, 64, kBlack);
  }

  // A red flat text over a blue plate on the quad (16, 24)-(48, 40): one texel of its text
  // picture per scene unit, so its block lies on (24, 28)-(40, 36).
  std::unique_ptr<ZKW_2DTex> MakeText(bool wholePicture = false) {
    auto text = std::make_unique<ZKW_2DTex>();
    text->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1902);
    text->quad.SetRect(32, 16, D3DXVECTOR3(32, 32, 0));
    const DS_ImageFileLink links[] = {DS_ImageFileLink(u"text.dds", 1),
                                      DS_ImageFileLink(u"effect.dds", 2),
                                      DS_ImageFileLink(u"plate.dds", 3)};
    ProvideFrames(links[0], 32, 16, {TextTexels(wholePicture)});
    ProvideFrames(links[1], 2, 2, {std::vector<uint32_t>(4, 0)});
    ProvideFrames(links[2], 2, 2, {std::vector<uint32_t>(4, kBlue)});
    text->pictures.SetValue(DS_NamedFileLinkData({std::begin(links), std::end(links)}));
    text->text.font.color.SetValue(0x0000FF);
    return text;
  }

  // One frame of the object made of `text`, its timeline held at `state` and `value`.
  std::vector<uint32_t> Draw(ZKW_2DTex& text, TimingState state = TimingState::Shown,
                             float value = 1.0f) {
    object_ = MakeObject(text);
    Hold(DrawnAs<ZKW_2DTex>(object_), state, value);
    return Redraw();
  }
  std::vector<uint32_t> Redraw() {
    ClearLog();
    Frame(renderer_, RuntimeObjectList{object_});
    return BackBufferPixels();
  }
  ZKW_2DTex& Drawn() { return DrawnAs<ZKW_2DTex>(object_); }

  static uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[size_t(y) * 64 + x];
  }

  DS_2D_Light renderer_;
  DS_SafePtr<ZKW_RenderObj> object_;
};

TEST_F(FlatTextPixelsTest, TheTextShowsInTheFontColourOverItsPlate) {
  auto text = MakeText();
  const auto pixels = Draw(*text);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 32), kRed));
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 18, 26), kBlue)) << "the plate around the text";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 8, 8), kBlack)) << "nothing outside the quad";
  std::vector<std::string> techniques;
  for (const gfx::FrameLogEntry& entry : Log())
    if (!entry.technique.empty()) techniques.push_back(entry.technique);
  EXPECT_EQ(techniques, (std::vector<std::string>{"Background", "MainColorFill"}));
}

TEST_F(FlatTextPixelsTest, TheShadowLiesItsDistanceAwayInItsDirection) {
  auto text = MakeText();
  text->shadow.enabled.SetValue(1);
  text->shadow.color.SetValue(0x00FF00);
  text->shadow.amount.SetValue(4);
  text->shadowDirection.SetValue(0);
  const auto pixels = Draw(*text);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 42, 32), kGreen)) << "4 texels right of the text";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 45, 32), kBlue)) << "and no further";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 22, 32), kBlue)) << "nothing on the other side";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 32), kRed)) << "the text over its shadow";

  // Direction 90 moves it up by the distance over the picture's height.
  text->shadowDirection.SetValue(90);
  const auto up = Draw(*text);
  EXPECT_TRUE(gfx_test::ColorNear(At(up, 32, 26), kGreen));
  EXPECT_TRUE(gfx_test::ColorNear(At(up, 32, 37), kBlue));
}

TEST_F(FlatTextPixelsTest, AHiddenTextStillShowsItsPlate) {
  auto text = MakeText();
  const auto pixels = Draw(*text, TimingState::Hidden, 0.0f);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 32), kBlue));
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 8, 8), kBlack));
}

TEST_F(FlatTextPixelsTest, AWipeHalfWayShowsTheMiddleBand) {
  auto text = MakeText(true);
  text->fadeInKind.SetValue(6);
  const auto pixels = Draw(*text, TimingState::FadingIn, 0.5f);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 32), kRed));
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 18, 33), kRed)) << "across the whole width";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 25), kBlue)) << "wiped above the band";
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 38), kBlue)) << "and below it";

  Hold(Drawn(), TimingState::FadingIn, 1.0f);
  EXPECT_TRUE(gfx_test::ColorNear(At(Redraw(), 32, 25), kRed)) << "all shown at the end";
}

TEST_F(FlatTextPixelsTest, ASlideMovesThePictureAndWhatLeavesTheQuadIsGone) {
  auto text = MakeText();
  text->fadeInKind.SetValue(2);
  const auto half = Draw(*text, TimingState::FadingIn, 0.5f);
  // The shift is (e - U1) / 2 = -0.5: the text, coming in from the left, is half the quad's
  // width short of its place, and what lies left of the quad is not drawn.
  EXPECT_EQ(Values(Drawn().effect.Get(), "Shift", 4),
            (std::vector<float>{-0.5f, 0.0f, -16.0f, 0.0f}));
  EXPECT_EQ(Values(Drawn().effect.Get(), "fade_pos", 4), (std::vector<float>{0, 0, 32, 32}));
  EXPECT_TRUE(gfx_test::ColorNear(At(half, 20, 32), kRed));
  EXPECT_TRUE(gfx_test::ColorNear(At(half, 32, 32), kBlue));
  EXPECT_TRUE(gfx_test::ColorNear(At(half, 12, 32), kBlack));

  // Fading out by alpha: "Fade_Alpha" is the timeline's value.
  text->fadeOutKind.SetValue(1);
  Draw(*text, TimingState::FadingOut, 0.25f);
  EXPECT_EQ(Values(Drawn().effect.Get(), "Fade_Alpha", 1), (std::vector<float>{0.25f}));
}

TEST_F(FlatTextPixelsTest, TheClipPlaneStateIsOffForTheTextAndComesBack) {
  auto text = MakeText();
  device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, 3);
  Draw(*text);
  uint32_t after = 0;
  ASSERT_EQ(device_->GetRenderState(gfx::RenderState::ClipPlaneEnable, &after), gfx::kOk);
  EXPECT_EQ(after, 3u);
  bool drewText = false;
  for (const gfx::FrameLogEntry& entry : Log()) {
    if (entry.technique != "MainColorFill") continue;
    drewText = true;
    EXPECT_EQ(entry.state.Get(gfx::RenderState::ClipPlaneEnable), 0u);
  }
  EXPECT_TRUE(drewText);
}

TEST_F(FlatTextPixelsTest, AnAnimatedFillFillsTheText) {
  auto text = MakeText();
  const DS_ImageFileLink fill(u"fill.gif", 4);
  ProvideFrames(fill, 8, 8, {std::vector<uint32_t>(64, kYellow), std::vector<uint32_t>(64, kCyan)},
                0.1f);
  text->fillWithPicture.SetValue(1);
  text->fillPicture.SetValue(DS_NamedFileLinkData({fill}));
  text->fillScale.SetValue(200);
  EXPECT_TRUE(gfx_test::ColorNear(At(Draw(*text), 32, 32), kYellow));
  EXPECT_EQ(Values(Drawn().effect.Get(), "fill_tex_scale", 2),
            (std::vector<float>{0.0625f, 0.0625f}));
  for (float t = 0.0f; t < 0.16f; t += 0.05f)
    object_->AdvanceTime(t);
  EXPECT_EQ(Drawn().fill.frameIndex, 1u);
  EXPECT_TRUE(gfx_test::ColorNear(At(Redraw(), 32, 32), kCyan));

  // A fill scale of 0, or a fill picture without size, gives no scale rather than inf.
  text->fillScale.SetValue(0);
  Draw(*text);
  EXPECT_EQ(Values(Drawn().effect.Get(), "fill_tex_scale", 2), (std::vector<float>{0, 0}));
  text->fillScale.SetValue(100);
  Doc().linkTextureSets[fill.Key()].sourceWidth = 0;
  Draw(*text);
  EXPECT_EQ(Values(Drawn().effect.Get(), "fill_tex_scale", 2)[0], 0.0f);
}

TEST_F(FlatTextPixelsTest, WithoutItsEffectNothingIsDrawn) {
  auto text = MakeText();
  text->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1999);
  const auto pixels = Draw(*text);
  EXPECT_FALSE(Drawn().effect);
  EXPECT_TRUE(gfx_test::ColorNear(At(pixels, 32, 32), kBlack));
}

}  // namespace
}  // namespace text3d_test
