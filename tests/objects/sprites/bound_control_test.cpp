// The bound control: its tests of each side, wrap, bounce, wait and the modes that do nothing,
// and its record inside its owner's.
#include "objects/sprites/ds_bound_control.h"

#include "core/crt_rand.h"
#include "objects/sprites/ds_flow_constructor.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

// A scene of 200 x 100; the presets view all of it.
class BoundControl : public SpriteTest {
 protected:
  BoundControl() : SpriteTest(200, 100) {}

  // A control of `side` in `mode` on the flow's rectangle; the flow's clock steps by `step`.
  DS_BoundControl& Control(int32_t side, int mode, float step = 0.1f) {
    DS_BoundControl& control = flow_.controls[static_cast<size_t>(side)];
    control.mode.SetValue(mode);
    flow_.motionStep = step;
    flow_.motionElapsed = 10.0f;
    return control;
  }
  static SpriteRecord Sprite(float x, float y, float half = 5.0f) {
    SpriteRecord s;
    s.centre = D3DXVECTOR3(x, y, 0);
    s.halfWidth = s.halfHeight = half;
    s.directionSigns = D3DXVECTOR3(1, 1, 0);
    return s;
  }

  DS_FlowConstructor flow_;
};

// Each side's two tests against the view rectangle (20 % to 80 % of the scene each way): wholly
// beyond the side, and the sprite's edge beyond it.
TEST_F(BoundControl, EachSideTestsItsOwnEdge) {
  flow_.left = flow_.top = 0.2f;
  flow_.right = flow_.bottom = 0.8f;
  struct Case {
    int32_t side;
    float x, y;
    bool outside, crossing;
  };
  const Case cases[] = {
      {DS_BoundControl::kTop, 100, 14, true, true},
      {DS_BoundControl::kTop, 100, 16, false, true},
      {DS_BoundControl::kTop, 100, 26, false, false},
      {DS_BoundControl::kBottom, 100, 86, true, true},
      {DS_BoundControl::kBottom, 100, 84, false, true},
      {DS_BoundControl::kBottom, 100, 74, false, false},
      {DS_BoundControl::kLeft, 34, 50, true, true},
      {DS_BoundControl::kLeft, 36, 50, false, true},
      {DS_BoundControl::kLeft, 46, 50, false, false},
      {DS_BoundControl::kRight, 166, 50, true, true},
      {DS_BoundControl::kRight, 164, 50, false, true},
      {DS_BoundControl::kRight, 154, 50, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.side << " at " << c.x << ", " << c.y);
    const DS_BoundControl& control = flow_.controls[static_cast<size_t>(c.side)];
    EXPECT_EQ(control.side, c.side);
    const SpriteRecord s = Sprite(c.x, c.y);
    EXPECT_EQ((*control.outside)(s), c.outside);
    EXPECT_EQ((*control.crossing)(s), c.crossing);
  }
}

// Wrap with a fade-out of 500 ms: a sprite that left by the top fades by 2 per motion second
// while it goes on, waits, reappears just past the bottom at a random x and fades in (250 ms).
TEST_F(BoundControl, WrapFadesOutWaitsReappearsAtTheOppositeSideAndFadesIn) {
  DS_BoundControl& top = Control(DS_BoundControl::kTop, 0, 0.125f);
  top.fadeOut.SetValue(500);
  top.fadeIn.SetValue(250);
  top.shortestWait.SetValue(300);
  top.longestWait.SetValue(300);
  SpriteRecord s = Sprite(120, -6);
  ASSERT_TRUE(top.Test(s, flow_));
  EXPECT_EQ(s.boundSide, 0);
  EXPECT_EQ(s.alphaFactor, 1.0f) << "the fade starts with the next frame";
  int frames = 0;
  while (s.alphaFactor > 0.0f && frames < 100) {
    const float before = s.alphaFactor;
    ASSERT_TRUE(top.Test(s, flow_));
    EXPECT_EQ(before - s.alphaFactor, 0.25f);
    ++frames;
  }
  EXPECT_EQ(frames, 4);
  EXPECT_EQ(s.boundSide, 0);

  // Gone: the wait starts and the control lets go.
  ASSERT_TRUE(top.Test(s, flow_));
  EXPECT_EQ(s.boundSide, -1);
  EXPECT_EQ(s.waiting, 1);
  EXPECT_FLOAT_EQ(s.waitUntil, 10.3f);
  EXPECT_EQ(s.waitClock, 10.0f);

  // Over to the bottom, at the x of the next draw.
  CrtRandSequence next(crt_rand_state());
  ASSERT_TRUE(top.Test(s, flow_));
  EXPECT_EQ(s.centre.y, 100.0f + 5.0f - 1.0f);
  EXPECT_FLOAT_EQ(s.centre.x, next.NextUnit() * 200.0f);
  EXPECT_EQ(s.reentered, 1);
  EXPECT_EQ(s.boundSide, 0);

  // Two more steps of the wait, then 0.5 per frame back to 1 (the first in the frame the wait
  // ends), then free.
  std::vector<float> alphas;
  for (int i = 0; i < 8 && s.boundSide == 0; ++i) {
    ASSERT_TRUE(top.Test(s, flow_));
    alphas.push_back(s.alphaFactor);
  }
  EXPECT_EQ(alphas, (std::vector<float>{0.0f, 0.0f, 0.5f, 1.0f, 1.0f}));
  EXPECT_EQ(s.waiting, 0);
  EXPECT_EQ(s.reentered, 0);
  EXPECT_EQ(s.boundSide, -1);
}

// A sprite already invisible that leaves is moved to the opposite side in the same frame.
TEST_F(BoundControl, WrapMovesAnInvisibleSpriteAtOnce) {
  DS_BoundControl& left = Control(DS_BoundControl::kLeft, 0);
  SpriteRecord s = Sprite(-6, 40);
  s.alphaFactor = 0.0f;
  ASSERT_TRUE(left.Test(s, flow_));
  EXPECT_EQ(s.centre.x, 200.0f + 5.0f - 1.0f);
  EXPECT_GE(s.centre.y, 0.0f);
  EXPECT_LE(s.centre.y, 100.0f);
  EXPECT_EQ(s.reentered, 1);
  // Fade-in 0: whole at once once the (empty) wait is over, free the frame after.
  ASSERT_TRUE(left.Test(s, flow_));
  EXPECT_EQ(s.alphaFactor, 1.0f);
  ASSERT_TRUE(left.Test(s, flow_));
  EXPECT_EQ(s.boundSide, -1);
}

// Bounce: the sign across the side flips once when the edge crosses; the sprite is held inside
// until its edge no longer crosses, and only then may the control act again.
TEST_F(BoundControl, BounceFlipsOnceAndHoldsTheSpriteInside) {
  DS_BoundControl& right = Control(DS_BoundControl::kRight, 1);
  SpriteRecord s = Sprite(197, 50);
  ASSERT_TRUE(right.Test(s, flow_));
  EXPECT_EQ(s.directionSigns.x, -1.0f);
  EXPECT_EQ(s.directionSigns.y, 1.0f);
  EXPECT_EQ(s.boundSide, 3);
  ASSERT_TRUE(right.Test(s, flow_));
  EXPECT_EQ(s.centre.x, 200.0f - 5.0f - 1.0f);
  EXPECT_EQ(s.directionSigns.x, -1.0f) << "no second flip";
  EXPECT_EQ(s.boundSide, -1);
  EXPECT_FALSE(right.Test(s, flow_));
  EXPECT_EQ(s.directionSigns.x, -1.0f);
}

// Wait with 1000 ms each way: the sprite turns when wholly outside, stays within its half size
// of the edge for one second of motion time, then is free to move back in.
TEST_F(BoundControl, WaitHoldsTheSpriteAtTheEdgeForItsWait) {
  DS_BoundControl& bottom = Control(DS_BoundControl::kBottom, 2, 0.25f);
  bottom.shortestWait.SetValue(1000);
  bottom.longestWait.SetValue(1000);
  SpriteRecord s = Sprite(80, 112);
  ASSERT_TRUE(bottom.Test(s, flow_));
  EXPECT_EQ(s.directionSigns.y, -1.0f);
  EXPECT_EQ(s.waiting, 1);
  EXPECT_EQ(s.waitUntil, 11.0f);
  int held = 0;
  while (s.boundSide == 1 && held < 20) {
    ASSERT_TRUE(bottom.Test(s, flow_));
    EXPECT_EQ(s.centre.y, 100.0f + 5.0f - 1.0f);
    ++held;
  }
  EXPECT_EQ(held, 5) << "four steps reach the wait's end, the fifth passes it";
  EXPECT_EQ(s.waiting, 0);
}

// A mode outside 0 to 2 leaves every sprite to the other controls.
TEST_F(BoundControl, OtherModesDoNothing) {
  for (int side = 0; side < 4; ++side) {
    DS_BoundControl& control = Control(side, 3);
    SpriteRecord s = Sprite(side == 2   ? -20.0f
                            : side == 3 ? 220.0f
                                        : 100.0f,
                            side == 0   ? -20.0f
                            : side == 1 ? 120.0f
                                        : 50.0f);
    s.alphaFactor = 0.0f;
    const SpriteRecord before = s;
    EXPECT_FALSE(control.Test(s, flow_));
    EXPECT_EQ(s.centre, before.centre);
    EXPECT_EQ(s.boundSide, -1);
    EXPECT_EQ(s.directionSigns, before.directionSigns);
  }
}

// A control handling a sprite for another side stays out of it.
TEST_F(BoundControl, ASpriteBoundToAnotherSideIsLeftAlone) {
  DS_BoundControl& top = Control(DS_BoundControl::kTop, 1);
  SpriteRecord s = Sprite(100, 2);
  s.boundSide = DS_BoundControl::kLeft;
  EXPECT_FALSE(top.Test(s, flow_));
  EXPECT_EQ(s.directionSigns.y, 1.0f);
}

}  // namespace
}  // namespace sprite_test
