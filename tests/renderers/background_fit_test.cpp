#include <gtest/gtest.h>

#include "renderer_fixture.h"

namespace renderer_test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// A 1000 x 500 background fitted into an 800 x 800 back buffer.
class BackgroundFit : public RendererTest {
 protected:
  BackgroundFit() : RendererTest(800, 800) {}

  void SetUp() override {
    RendererTest::SetUp();
    GetDeviceValues().targetScaleLimit = 1;
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 1000, 500, kWhite);
  }

  std::vector<uint32_t> Frame(int fitMode) {
    DS_2D_Light renderer;
    StartSlide(renderer);
    renderer.SetFitMode(fitMode);
    renderer.DrawBackground(nullptr);
    renderer.RenderObjects({}, 0);
    renderer.Compose(nullptr);
    return BackBufferPixels();
  }
  static uint32_t At(const std::vector<uint32_t>& px, int x, int y) { return px[y * 800 + x]; }
};

TEST_F(BackgroundFit, FitModesWithBars) {
  // Mode 1: inside, bars above and below the 800 x 400 picture.
  auto px = Frame(1);
  EXPECT_EQ(At(px, 400, 100), kBlack);
  EXPECT_EQ(At(px, 400, 198), kBlack);
  EXPECT_EQ(At(px, 400, 202), kWhite);
  EXPECT_EQ(At(px, 2, 400), kWhite);
  EXPECT_EQ(At(px, 400, 597), kWhite);
  EXPECT_EQ(At(px, 400, 602), kBlack);
  // Mode 2: filled and cropped left and right.
  px = Frame(2);
  EXPECT_EQ(At(px, 0, 0), kWhite);
  EXPECT_EQ(At(px, 799, 799), kWhite);
  // Modes 0 and 3: stretched over the whole view.
  for (int mode : {0, 3}) {
    px = Frame(mode);
    EXPECT_EQ(At(px, 0, 0), kWhite) << mode;
    EXPECT_EQ(At(px, 799, 400), kWhite) << mode;
  }
}

TEST_F(BackgroundFit, FadeOverlayBlendsOverTheFrame) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  renderer.DrawBackground(nullptr);
  renderer.RenderObjects({}, 0);
  renderer.Compose(nullptr);
  QuadCorners screen;
  screen.FromBackBuffer();
  ColorQuadMesh overlay;
  overlay.InitScreen(screen, 0xFF000000);
  overlay.SetCornerAlphas(1, 1, 0, 0);  // opaque at the bottom, clear at the top
  renderer.DrawFadeOverlay(&overlay);
  // The overlay's alpha runs from 0 at the top to 1 at the bottom of the screen.
  const auto px = BackBufferPixels();
  for (int y : {205, 400, 590}) {
    const double expected = 255.0 * (1.0 - (y + 0.5) / 800.0);
    EXPECT_NEAR(double(At(px, 400, y) & 0xFF), expected, 2.0) << y;
    EXPECT_EQ(At(px, 400, y) & 0xFF, (At(px, 400, y) >> 16) & 0xFF) << "grey";
  }
}

}  // namespace
}  // namespace renderer_test
