#include "player/render/quad_corners.h"

#include <gtest/gtest.h>

#include "render_fixture.h"

namespace render_test {
namespace {

struct FitCase {
  Size picture;
  int targetW, targetH;
  float left, top, right, bottom;
};

TEST(FitQuadToTarget, FitsInsideCentredKeepingTheAspect) {
  const FitCase cases[] = {
      {{100, 50}, 400, 400, 0, 100, 400, 300},
      {{50, 100}, 400, 400, 100, 0, 300, 400},
      {{100, 100}, 400, 200, 100, 0, 300, 200},
      // A picture or target without area fills the target rather than dividing by zero.
      {{0, 50}, 400, 300, 0, 0, 400, 300},
      {{100, 0}, 400, 300, 0, 0, 400, 300},
      {{100, 50}, 0, 300, 0, 0, 0, 300},
  };
  for (const FitCase& c : cases) {
    QuadCorners q;
    FitQuadToTarget(q, c.picture, c.targetW, c.targetH);
    SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height);
    // Strip order: bottom-left, top-left, bottom-right, top-right.
    EXPECT_FLOAT_EQ(q.corners[0].x, c.left);
    EXPECT_FLOAT_EQ(q.corners[0].y, c.bottom);
    EXPECT_FLOAT_EQ(q.corners[1].x, c.left);
    EXPECT_FLOAT_EQ(q.corners[1].y, c.top);
    EXPECT_FLOAT_EQ(q.corners[2].x, c.right);
    EXPECT_FLOAT_EQ(q.corners[2].y, c.bottom);
    EXPECT_FLOAT_EQ(q.corners[3].x, c.right);
    EXPECT_FLOAT_EQ(q.corners[3].y, c.top);
    EXPECT_FLOAT_EQ(q.corners[0].z, 1.0f);
    EXPECT_FLOAT_EQ(q.corners[3].u, 1.0f);
    EXPECT_FLOAT_EQ(q.corners[3].v, 0.0f);
  }
}

class BackBufferQuadTest : public RenderTest {
 protected:
  BackBufferQuadTest() : RenderTest(80, 60) {}
};

TEST_F(BackBufferQuadTest, TakesItsSizeFromTheBackBuffer) {
  QuadCorners q;
  q.FromBackBuffer();
  EXPECT_FLOAT_EQ(q.Left(), 0);
  EXPECT_FLOAT_EQ(q.Top(), 0);
  EXPECT_FLOAT_EQ(q.Right(), 80);
  EXPECT_FLOAT_EQ(q.Bottom(), 60);

  q.SetRect(10, 5, 20, 15);
  q.ScaleToBackBuffer(40, 30);
  EXPECT_FLOAT_EQ(q.Left(), 20);
  EXPECT_FLOAT_EQ(q.Top(), 10);
  EXPECT_FLOAT_EQ(q.Right(), 40);
  EXPECT_FLOAT_EQ(q.Bottom(), 30);

  // A zero area to scale from changes nothing.
  q.ScaleToBackBuffer(0, 30);
  EXPECT_FLOAT_EQ(q.Right(), 40);
}

TEST(QuadCornersWithoutDevice, HaveNoBackBuffer) {
  QuadCorners q;
  q.FromBackBuffer();
  EXPECT_FLOAT_EQ(q.Right(), 0);
  EXPECT_FLOAT_EQ(q.Bottom(), 0);
}

}  // namespace
}  // namespace render_test
