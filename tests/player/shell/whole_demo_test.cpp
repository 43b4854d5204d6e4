#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "player/support/whole_demo_fixture.h"

namespace scene_test {
namespace {

// Every slide of the demo plays at full-HD size through the player's own frame path: a frame at
// the jump, in the fade-in and after it. Nothing may crash, leave a GL error or be refused by the
// graphics layer, and each slide must be the one showing. After the fade-in a slide with objects
// draws something over its picture, and every slide moves: two frames half a second apart
// differ (the camera drifts or something on the slide moves; a drift over a smooth sky changes
// pixels by a level or two).
TEST_F(WholeDemoTest, EverySlidePlaysDrawsAndMovesWithoutAnErrorOrARefusal) {
  // A part of the picture that small objects and slow drifts still pass.
  constexpr size_t kSomePixels = size_t(kWidth) * kHeight / 2000;
  DS_SlideShow_Light& scene = Scene();
  ASSERT_GE(scene.slides.size(), 30u);
  double t = 0.0;
  Frame(t);
  for (size_t i = 0; i < scene.slides.size(); ++i) {
    SCOPED_TRACE(SlideName(i));
    const uint64_t refusedBefore = gfx::RefusalCount();
    refusals_.clear();
    const double shown = PlaySlide(i, t, {0.0, 0.1, 1.0, 2.0});
    EXPECT_EQ(scene.currentSlide, scene.slides[i]);
    const std::vector<uint32_t> first = BackBufferPixels();
    const auto& slide = *scene.slides[i];
    if (!slide.objects.empty() || !slide.extraObjects.empty())
      EXPECT_GT(PixelsApart(first, BackgroundAlone(), 8), kSomePixels)
          << SlideName(i) << ": its objects draw nothing over its picture";
    // A drifting camera pauses now and then for half a second, and its clock takes at most 0.2 s
    // a frame: the half second is drawn in two frames, and a still pair is looked past, up to a
    // few times.
    size_t moved = 0;
    t = shown;
    std::vector<uint32_t> before = first;
    for (int step = 0; step < 6 && moved <= kSomePixels; ++step) {
      for (int half = 0; half < 2; ++half) {
        t += 0.25;
        EXPECT_EQ(Frame(t), uint32_t(GL_NO_ERROR));
      }
      std::vector<uint32_t> after = BackBufferPixels();
      moved = PixelsApart(before, after, 0);
      before = std::move(after);
    }
    EXPECT_GT(moved, kSomePixels) << SlideName(i) << ": nothing moves in half a second";
    EXPECT_EQ(gfx::RefusalCount(), refusedBefore) << ::testing::PrintToString(refusals_);
    t += 0.05;
  }
  EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
}

}  // namespace
}  // namespace scene_test
