// The view rectangle kept as fractions of the scene and as pixels, its record and its motion
// clock.
#include "objects/sprites/ds_view_obj_ctrl.h"

#include <array>
#include <limits>

#include "core/crt_rand.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class ViewObjCtrl : public SpriteTest {};

TEST_F(ViewObjCtrl, PixelsFollowTheFractionsAtTheSceneSize) {
  SetSceneSize(460, 215);
  DS_SparkleConstructor view;
  const MediaRectangle& r = view.pixelRect;
  EXPECT_EQ((std::array{r.xMin.Value(), r.xMax.Value(), r.yMin.Value(), r.yMax.Value()}),
            (std::array{0, 460, 0, 215}));
  EXPECT_EQ((std::array{view.left, view.right, view.top, view.bottom}),
            (std::array{0.0f, 1.0f, 0.0f, 1.0f}));

  // A pixel bound set by an editor carries back into its fraction.
  view.pixelRect.xMax.SetValue(230);
  EXPECT_FLOAT_EQ(view.right, 0.5f);
}

TEST_F(ViewObjCtrl, ACopyRoundsTheFractionsToWholePixels) {
  SetSceneSize(100, 50);
  DS_SparkleConstructor view;
  view.left = 0.3333f;
  view.bottom = 0.5f;
  DS_SparkleConstructor copy(view);
  EXPECT_FLOAT_EQ(copy.left, 0.33f);
  EXPECT_EQ(copy.pixelRect.xMin.Value(), 33);
  EXPECT_EQ(copy.pixelRect.yMax.Value(), 25);
  EXPECT_FLOAT_EQ(copy.bottom, 0.5f);
}

// A scene of no size has no pixels to carry back: the fractions stay as they were (no
// division by zero), and truncation of huge or NaN products saturates.
TEST_F(ViewObjCtrl, AZeroSceneKeepsTheFractionsAndTruncationSaturates) {
  SetSceneSize(0, 0);
  DS_SparkleConstructor view;
  view.left = 0.25f;
  view.right = 0.75f;
  DS_SparkleConstructor copy(view);
  EXPECT_FLOAT_EQ(copy.left, 0.25f);
  EXPECT_FLOAT_EQ(copy.right, 0.75f);

  SetSceneSize(100, 100);
  view.right = 1e30f;
  view.top = std::numeric_limits<float>::quiet_NaN();
  view.bottom = -5.0f;
  view.SyncPixelRect();
  EXPECT_EQ(view.pixelRect.xMax.Value(), std::numeric_limits<int>::max());
  EXPECT_EQ(view.pixelRect.yMin.Value(), 0);
  EXPECT_EQ(view.pixelRect.yMax.Value(), 0);
}

TEST_F(ViewObjCtrl, ViewQuadAndRandomPoint) {
  SetSceneSize(200, 100);
  DS_SparkleConstructor view;
  view.left = 0.25f;
  view.right = 0.25f;
  view.top = 0.5f;
  view.bottom = 1.0f;
  QuadCorners quad;
  view.ViewQuad(quad);
  EXPECT_EQ(quad.corners[0].x, 50.0f);
  EXPECT_EQ(quad.corners[0].y, 100.0f);
  EXPECT_EQ(quad.corners[1].y, 50.0f);
  EXPECT_EQ(quad.corners[3].x, 50.0f);
  EXPECT_EQ(quad.corners[0].z, 1.0f);
  EXPECT_EQ(quad.corners[2].u, 1.0f);

  crt_srand(1);
  D3DXVECTOR3 point(1, 1, 1);
  view.RandomPointInView(point);
  EXPECT_EQ(point.x, 50.0f) << "left = right";
  EXPECT_FLOAT_EQ(point.y, 50.0f + 18467.0f / 32767.0f * 50.0f) << "y from the second draw";
  EXPECT_EQ(point.z, 0.0f);
}

TEST_F(ViewObjCtrl, RecordRoundTripAndVersionOne) {
  SetSceneSize(200, 100);
  DS_SparkleConstructor view;
  view.left = 0.1f;
  view.bottom = 0.9f;
  view.viewFlag = false;
  view.motionRate.SetValue(75);
  view.name = u"view";
  const std::vector<uint8_t> bytes = SavedBytes(view);
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_SparkleConstructor&>(*read.object);
  EXPECT_FLOAT_EQ(back.left, 0.1f);
  EXPECT_FLOAT_EQ(back.bottom, 0.9f);
  EXPECT_FALSE(back.viewFlag);
  EXPECT_EQ(back.motionRate.Value(), 75u);
  EXPECT_EQ(back.name, u"view");
  EXPECT_EQ(SavedBytes(back), bytes);

  // The same view as version 1, which stores no motion rate.
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  WriteMediaRectangle(archive, view.pixelRect);
  for (float f : {0.1f, 1.0f, 0.0f, 0.9f})
    w.WriteFloat(f);
  w.WriteBool(true);
  view.DS_ABObj_Constructor::Save(archive);
  ReadArchive v1(w.Bytes());
  DS_SparkleConstructor old;
  old.DS_ViewObjCtrl::ReadBody(v1.archive(), 1);
  EXPECT_FALSE(v1.archive().Failed());
  EXPECT_EQ(v1.Remaining(), 0u);
  EXPECT_EQ(old.motionRate.Value(), 50u);
  EXPECT_FLOAT_EQ(old.bottom, 0.9f);
}

TEST_F(ViewObjCtrl, RestartZeroesTheMotionClockOnly) {
  DS_SparkleConstructor view;
  view.left = 0.5f;
  view.motionStep = 0.1f;
  view.motionElapsed = 3.0f;
  view.motionLastTime = 4.0f;
  view.Restart();
  EXPECT_EQ(view.motionStep, 0.0f);
  EXPECT_EQ(view.motionElapsed, 0.0f);
  EXPECT_EQ(view.motionLastTime, 0.0f);
  EXPECT_EQ(view.left, 0.5f);
}

}  // namespace
}  // namespace sprite_test
