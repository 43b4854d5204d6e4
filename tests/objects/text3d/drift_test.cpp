// How the copies of drifting instances are made, drift, sway, tumble and re-enter.
#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "model_fixture.h"
#include "objects/text3d/ds_3d_in_2d_array.h"
#include "objects/text3d/ds_sream_anim.h"

namespace model_test {
namespace {

class Drift : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    SetSceneSize(800, 600);
    params_.size.SetValue(20);
    params_.speed.SetValue(50);
  }

  // A copy placed at (x, y) with speed factor 0.1 and no sway, its clocks at 0.
  DS_LeafFallAnim CopyAt(float x, float y) {
    DS_LeafFallAnim copy(&params_, 1.0f);
    copy.x = x;
    copy.y = y;
    copy.speedFactor = 0.1f;
    copy.swayValue = 0.0f;
    return copy;
  }
  // One frame of `copy` at drift time t.
  static void FrameAt(DS_LeafFallAnim& copy, TransformNode& node, float t) {
    SharedDriftClock() = t;
    copy.Compute(&node);
  }

  DriftParams params_;
  TransformNode node_;
};

TEST_F(Drift, TheFirstLeafOfSeedOne) {
  crt_srand(1);
  const DS_LeafFallAnim leaf(&params_, 1.0f);
  EXPECT_NEAR(leaf.x, 1.001f, 5e-4f);
  EXPECT_NEAR(leaf.y, 338.15f, 5e-3f);
  EXPECT_NEAR(leaf.swayValue, -0.6134f, 5e-5f);
  EXPECT_NEAR(leaf.speedFactor, 0.11852f, 5e-6f);
  const float tumbles[] = {-8.4396f, 9.6879f, 9.2398f};
  const float swings[] = {-5.8420f, -3.0599f};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(leaf.tumbles[i].rate, tumbles[i], 5e-5f) << i;
    EXPECT_EQ(leaf.tumbles[i].angle, leaf.tumbles[i].rate);
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(leaf.swings[i].rate, swings[i], 5e-5f) << i;
    EXPECT_EQ(leaf.swings[i].angle, leaf.swings[i].rate);
  }
}

// m = speed x f x dt x 50: 50 x 0.1 x 0.1 x 50 = 25 pixels in a tenth of a second.
TEST_F(Drift, DirectionNinetyMovesUpAndZeroRight) {
  for (const auto& [direction, dx, dy] : {std::tuple{90u, 0.0f, -25.0f}, {0u, 25.0f, 0.0f}}) {
    params_.SetDirection(direction);
    DS_LeafFallAnim copy = CopyAt(400, 300);
    FrameAt(copy, node_, 0.1f);
    EXPECT_NEAR(copy.x, 400 + dx, 1e-3f) << direction;
    EXPECT_NEAR(copy.y, 300 + dy, 1e-3f) << direction;
  }
}

TEST_F(Drift, SpeedZeroStaysButTumbles) {
  params_.speed.SetValue(0);
  DS_LeafFallAnim copy = CopyAt(400, 300);
  const float before = copy.tumbles[0].angle;
  FrameAt(copy, node_, 0.1f);
  EXPECT_EQ(copy.x, 400.0f);
  EXPECT_EQ(copy.y, 300.0f);
  // rate x dt x spin x 0.4
  EXPECT_NEAR(copy.tumbles[0].angle, before + copy.tumbles[0].rate * 0.1f * 100 * 0.4f, 1e-4f);
}

// A copy past the bottom by more than half its size (10) re-enters above the top at a random x,
// without moving in that frame; at exactly half its size it still moves on.
TEST_F(Drift, PastTheBottomReentersAboveTheTop) {
  params_.SetDirection(270);  // down
  DS_LeafFallAnim edge = CopyAt(100, 610);
  FrameAt(edge, node_, 0.1f);
  EXPECT_NEAR(edge.x, 100.0f, 1e-4f);
  EXPECT_NEAR(edge.y, 635.0f, 1e-3f);

  DS_LeafFallAnim past = CopyAt(100, 610.5f);
  crt_srand(7);
  const float x = crt_rand_unit() * 800.0f;
  crt_srand(7);
  FrameAt(past, node_, 0.1f);
  EXPECT_EQ(past.x, x);
  EXPECT_EQ(past.y, -10.0f);
}

TEST_F(Drift, AFirstFrameAtThreeSecondsStepsAFifth) {
  DS_LeafFallAnim copy = CopyAt(100, 100);
  FrameAt(copy, node_, 3.0f);
  EXPECT_FLOAT_EQ(copy.timeStep, 0.2f);
  EXPECT_NEAR(copy.x, 150.0f, 1e-3f) << "50 x 0.1 x 0.2 x 50";
  FrameAt(copy, node_, 2.0f);
  EXPECT_FLOAT_EQ(copy.timeStep, 0.2f) << "a step back in time moves on as well";
}

TEST_F(Drift, SwayFrequencyZeroKeepsTheSwayValue) {
  params_.sway.SetValue(50);
  DS_LeafFallAnim still = CopyAt(400, 300);
  still.swayValue = 0.5f;
  for (float t = 0.1f; t < 30.0f; t += 0.1f)
    FrameAt(still, node_, t);
  EXPECT_EQ(still.swayValue, 0.5f);

  // A frequency of 1 draws again once speed x time x 0.1 passes 100: after 20 s at speed 50.
  params_.swayFrequency.SetValue(1);
  DS_LeafFallAnim drawn = CopyAt(400, 300);
  FrameAt(drawn, node_, 19.9f);
  EXPECT_EQ(drawn.lastSwayDraw, 0.0f);
  FrameAt(drawn, node_, 20.1f);
  EXPECT_EQ(drawn.lastSwayDraw, 20.1f);
}

// A size of 0, or a mesh without vertices (bounding radius 0), scales a copy to nothing, with
// no infinity or NaN in its matrix.
TEST_F(Drift, NoSizeOrNoRadiusScalesToNothing) {
  for (const auto& [size, radius] : {std::pair{0u, 1.0f}, {20u, 0.0f}}) {
    params_.size.SetValue(size);
    DS_LeafFallAnim copy(&params_, radius);
    FrameAt(copy, node_, 0.1f);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c)
        EXPECT_EQ(node_.world(r, c), 0.0f) << size << " " << radius;
    EXPECT_TRUE(std::isfinite(node_.world._41));
  }
}

TEST_F(Drift, CopiesAreMadeOnceAndTheCountIsCapped) {
  DS_3D_in_2D_array_Constructor leaves;
  leaves.count.SetValue(3);
  DS_3D_in_2D_array made(std::make_unique<DS_3D_in_2D_array_Constructor>(leaves));
  EXPECT_EQ(made.Description().runtimeObject, &made);
  EXPECT_EQ(made.Mesh().node.children.size(), 3u);
  made.Description().count.SetValue(5);
  made.Update(0.1f);
  EXPECT_EQ(made.Mesh().node.children.size(), 3u) << "a later count changes nothing";
  EXPECT_EQ(SharedDriftClock(), 0.1f);

  leaves.count.SetValue(0xFFFFFFFFu);
  DS_3D_in_2D_array many(std::make_unique<DS_3D_in_2D_array_Constructor>(leaves));
  EXPECT_EQ(many.Mesh().node.children.size(), kMaxParticlesPerList);
}

}  // namespace
}  // namespace model_test
