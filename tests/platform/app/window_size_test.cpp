#include "platform/app/window_size.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSize, FitsTheUsableAreaKeepingTheAspect) {
  const struct {
    app::WindowSize wanted, area, fitted;
  } cases[] = {
      {{460, 215}, {400, 800}, {400, 186}},    // width test only
      {{460, 215}, {1920, 1080}, {460, 215}},  // fits as it is
      {{2000, 1000}, {800, 600}, {800, 400}},  // width first, then height not needed
      {{1000, 1000}, {800, 600}, {600, 600}},  // the height test works on the width result
      {{460, 215}, {460, 215}, {460, 215}},    // equal is no shrink
      {{0, 0}, {400, 300}, {0, 0}},            // empty string table entries
  };
  for (const auto& c : cases) {
    const app::WindowSize s = app::FitWindowSize(c.wanted, c.area);
    EXPECT_EQ(s.width, c.fitted.width) << c.wanted.width << "x" << c.wanted.height;
    EXPECT_EQ(s.height, c.fitted.height) << c.wanted.width << "x" << c.wanted.height;
  }
  const app::WindowSize origin = app::CentredOrigin({400, 186}, {400, 800});
  EXPECT_EQ(origin.width, 0);
  EXPECT_EQ(origin.height, 307);
}

}  // namespace
