// The clock: its frame tree, the hands at the local time, the dial's placement and reload.
#include "model_fixture.h"
#include "objects/text3d/ac_clock.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "player/render/matrix_values.h"

namespace model_test {
namespace {

using Clock = ModelTest;

void ExpectNear(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(a(r, c), b(r, c), 1e-4f) << r << "," << c;
}

TEST_F(Clock, AtHalfPastThreeTheHandsStandAt105And180Degrees) {
  SetTime(15, 30, 0);
  DS_ClockConstructor clock;
  FrameTree tree = clock.BuildFrameTree();
  ASSERT_EQ(tree->children.size(), 2u);
  TransformNode& hour = *tree->children.front();
  TransformNode& minute = *tree->children.back();
  EXPECT_EQ(dynamic_cast<AC_ClockArrow&>(*hour.modifier).hourHand, 1);
  EXPECT_EQ(dynamic_cast<AC_ClockArrow&>(*minute.modifier).hourHand, 0);
  tree->UpdateWorld(nullptr);
  ExpectNear(hour.world, hour.local * RotationYDegrees(105.0f) * tree->world);
  ExpectNear(minute.world, minute.local * RotationYDegrees(180.0f) * tree->world);
  // The minute hand moves on within the minute.
  EXPECT_FLOAT_EQ(AC_ClockArrow(false).AngleAt(15, 30, 30), 183.0f);
}

// When the local time cannot be read, a hand keeps the matrix it had.
TEST_F(Clock, AnUnreadableTimeKeepsTheHands) {
  SetTime(9, 0, 0);
  DS_ClockConstructor clock;
  FrameTree tree = clock.BuildFrameTree();
  tree->UpdateWorld(nullptr);
  const D3DXMATRIX hour = tree->children.front()->world;
  SetTime(0, 0, 0, false);
  tree->UpdateWorld(nullptr);
  tree->UpdateWorld(nullptr);
  EXPECT_EQ(tree->children.front()->world, hour);
}

// The dial is scaled by the size and moved to the centre; the bounds stay the square of the
// size about the centre, stored without telling their listeners.
TEST_F(Clock, TheDialFollowsSizeAndCentre) {
  DS_ClockConstructor clock;
  clock.clockRect.extra1.SetValue(30);
  clock.clockRect.extra2.SetValue(20);
  clock.size.SetValue(41);
  FrameTree tree = clock.BuildFrameTree();
  const MediaRectangle& r = clock.clockRect;
  EXPECT_EQ((std::vector{r.xMin.Value(), r.xMax.Value(), r.yMin.Value(), r.yMax.Value()}),
            (std::vector{10, 50, 0, 40}));
  tree->UpdateWorld(nullptr);
  ExpectNear(tree->world, ScalingMatrix(0.41f, 0.41f, 0.41f) * RotationXDegrees(90.0f) *
                              TranslationMatrix(30.0f, 20.0f, 0.0f));

  int told = 0;
  struct Counter : MediaControl {
    explicit Counter(int* n) : n(n) {}
    void OnParamChanged(MediaControl*) override { ++*n; }
    int* n;
  } counter(&told);
  clock.clockRect.xMin.AddControl(&counter);
  clock.size.SetValue(60);
  EXPECT_EQ(r.xMin.Value(), 0);
  EXPECT_EQ(told, 0);
  clock.clockRect.extra1.RawValue() = 40;
  clock.clockRect.NotifyChanged(nullptr);
  EXPECT_EQ(r.xMin.Value(), 10);
  tree->UpdateWorld(nullptr);
  EXPECT_FLOAT_EQ(tree->world._41, 40.0f);
  clock.clockRect.xMin.RemoveControl(&counter);

  QuadCorners quad;
  clock.ViewQuad(quad);
  EXPECT_EQ(quad.corners[0].x, 10.0f);
  EXPECT_EQ(quad.corners[0].y, 50.0f);
  EXPECT_EQ(quad.corners[3].x, 70.0f);
  EXPECT_EQ(quad.corners[3].y, -10.0f);
}

TEST_F(Clock, TheHitTestIsTheClockRectangle) {
  // The dial's controller makes the bounds the square of the size about the centre.
  DS_ClockConstructor clock;
  clock.size.SetValue(10);
  clock.clockRect.extra1.SetValue(15);
  clock.clockRect.extra2.SetValue(10);
  auto model = MakeModel(clock);
  const int inside[2] = {19, 14}, outside[2] = {21, 10};
  D3DXMatrixIdentity(&Context().inverseView);
  EXPECT_TRUE(model->HitTestPoint(inside));
  EXPECT_FALSE(model->HitTestPoint(outside));
}

// A dial picture changed before the clock has parts reloads nothing; once the run-time object
// holds its parts, part 0 takes the new dial.
TEST_F(Clock, ANewDialReloadsPartZeroOnceThereAreParts) {
  const DS_ImageFileLink dial(u"dial.dll", 3);
  gfx::Texture* texture = ProvidePicture(dial, 2, 2, 0xFF00FF00);
  DS_ClockConstructor clock;
  clock.picture = dial;
  clock.picture.NotifyChanged(nullptr);
  EXPECT_EQ(clock.parts, nullptr);
  EXPECT_TRUE(Doc().meshCache.empty()) << "nothing loaded";

  clock.picture = DS_ImageFileLink(u"glimres.dll", 71);
  auto model = MakeModel(clock);
  DS_ClockConstructor& clone = dynamic_cast<DS_ClockConstructor&>(model->Description());
  ASSERT_EQ(clone.parts, &model->Parts());
  EXPECT_NE(model->Parts()[0].picture.Get(), texture);
  clone.picture = dial;
  clone.picture.NotifyChanged(nullptr);
  EXPECT_EQ(model->Parts()[0].picture.Get(), texture);
  EXPECT_TRUE(model->Parts()[0].vertices.buffer);
  EXPECT_TRUE(model->Parts()[0].twoSided);
}

}  // namespace
}  // namespace model_test
