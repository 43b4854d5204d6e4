#include <gtest/gtest.h>

#include "player/support/whole_demo_fixture.h"

namespace scene_test {
namespace {

// Every slide of the demo plays at full-HD size through the player's own frame path: a frame at
// the jump, in the fade-in and after it. Nothing may crash, leave a GL error or be refused by the
// graphics layer, and each slide must be the one showing.
TEST_F(WholeDemoTest, EverySlidePlaysWithoutAnErrorOrARefusal) {
  DS_SlideShow_Light& scene = Scene();
  ASSERT_GE(scene.slides.size(), 30u);
  double t = 0.0;
  Frame(t);
  for (size_t i = 0; i < scene.slides.size(); ++i) {
    SCOPED_TRACE(SlideName(i));
    const uint64_t refusedBefore = gfx::RefusalCount();
    refusals_.clear();
    t = PlaySlide(i, t, {0.0, 0.1, 1.0, 1.5}) + 0.05;
    EXPECT_EQ(scene.currentSlide, scene.slides[i]);
    EXPECT_EQ(gfx::RefusalCount(), refusedBefore) << ::testing::PrintToString(refusals_);
  }
  EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
}

}  // namespace
}  // namespace scene_test
