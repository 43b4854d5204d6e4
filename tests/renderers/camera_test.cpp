#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/crt_rand.h"
#include "player/render/matrix_values.h"
#include "renderer_fixture.h"

namespace renderer_test {
namespace {

class CameraTest : public RendererTest {
 protected:
  CameraTest() : RendererTest(80, 80) {}

  void SetUp() override {
    RendererTest::SetUp();
    QuadCorners view;
    view.FromBackBuffer();
    Context().SetTargetView(view, {1200, 600}, {1200, 600}, 1, false);
  }

  // Picture 1200 x 600 viewed on the back buffer, camera on.
  void Start(DSM_Camera& camera) {
    QuadCorners view;
    view.FromBackBuffer();
    camera.ApplyView(view, {1200, 600}, 1, false);
    camera.Enable(true, view, {1200, 600}, 1);
  }

  void AddPoint(DSM_Camera& camera, float x, float y, float time, unsigned zoom = 100) {
    DX_SmartPnt source;
    source.SetValue(D3DXVECTOR3(x, y, 0));
    DX_CamPathPnt* point = camera.path.AppendPoint(source, nullptr);
    point->travelTime.SetValue(time);
    point->zoomPercent.SetValue(zoom);
  }
};

TEST_F(CameraTest, StillOrDisabledCamerasLeaveThePictureCentred) {
  DSM_Camera still;
  Start(still);
  still.Update(0.1f);
  EXPECT_FALSE(Context().cameraActive);
  EXPECT_FLOAT_EQ(Context().cameraOffset.x, 0);
  EXPECT_FLOAT_EQ(Context().cameraOffset.y, 0);

  DSM_Camera off;
  off.mode.SetValue(1);
  Start(off);
  off.Enable(false, QuadCorners{}, {1200, 600}, 1);
  off.Update(0.1f);
  EXPECT_FALSE(Context().cameraActive);
  // Switched off, the view shows the whole picture, centred.
  EXPECT_EQ(Context().cameraWorld, TranslationMatrix(600 - 600, 300 - 300, 0) *
                                       TranslationMatrix(-600, -300, 0) * ScalingMatrix(1, 1, 1) *
                                       TranslationMatrix(600, 300, 0));
}

TEST_F(CameraTest, ClockStepsAreCutToATenthOfFiveSeconds) {
  DSM_Camera camera;
  Start(camera);
  camera.Update(0);
  camera.Update(1.0f);
  EXPECT_FLOAT_EQ(camera.clock, 0.2f);
  camera.Update(1.1f);
  EXPECT_FLOAT_EQ(camera.clock, 0.3f);
  camera.Update(0.5f);  // a restart: no step
  EXPECT_FLOAT_EQ(camera.clock, 0.3f);
}

TEST_F(CameraTest, DriftDrawsInAFixedOrderAndStaysInsideThePicture) {
  DSM_Camera camera;
  camera.mode.SetValue(1);
  Start(camera);
  crt_srand(17);
  int pauses = 0;
  float t = 0.0f;
  for (int pick = 0; pick < 40; ++pick) {
    // The draws the next pick makes: parity, then x, y and the duration.
    crt_srand(100 + pick);
    const int parity = crt_rand();
    const float rx = crt_rand() / 32767.0f, ry = crt_rand() / 32767.0f;
    const float rd = crt_rand() / 32767.0f;
    crt_srand(100 + pick);
    const D3DXVECTOR3 before = camera.to;
    camera.switchTime = camera.clock;  // the move is over
    camera.Update(t += 0.01f);
    if (parity % 2 == 0) {
      ++pauses;
      EXPECT_EQ(camera.to, before);
      EXPECT_FLOAT_EQ(camera.switchTime - camera.startTime, 0.5f);
      continue;
    }
    EXPECT_FLOAT_EQ(camera.to.x, ((2 * rx - 1) * (1 - 1.2f) / 1.2f + 1) * 600);
    EXPECT_FLOAT_EQ(camera.to.y, ((2 * ry - 1) * (1 - 1.2f) / 1.2f + 1) * 300);
    EXPECT_FLOAT_EQ(camera.switchTime - camera.startTime, 2 * rd + 5);
    EXPECT_LE(std::fabs(camera.to.x - 600), 600.0f / 6 + 1e-3f);
    EXPECT_LE(std::fabs(camera.to.y - 300), 300.0f / 6 + 1e-3f);
  }
  EXPECT_GT(pauses, 5);
  EXPECT_LT(pauses, 35);
  EXPECT_TRUE(Context().cameraActive);
  // Mode 1 shows picture / zoom.
  EXPECT_FLOAT_EQ(Context().frameW, 1000);
  EXPECT_FLOAT_EQ(Context().frameH, 500);
}

TEST_F(CameraTest, PathModeGoesBackAndForth) {
  DSM_Camera camera;
  camera.mode.SetValue(2);
  AddPoint(camera, 100, 100, 2, 100);
  AddPoint(camera, 200, 100, 3, 150);
  AddPoint(camera, 300, 100, 4, 200);
  camera.frameWidth.SetValue(400);
  camera.frameHeight.SetValue(200);
  Start(camera);
  EXPECT_FLOAT_EQ(camera.to.x, 100);
  EXPECT_FLOAT_EQ(Context().frameW, 400) << "mode 2 shows the frame size";

  // Each pick starts a move: record its duration and target.
  std::vector<float> durations, targets;
  float lastStart = -1.0f;
  for (int step = 0; step < 200 && durations.size() < 5; ++step) {
    camera.Update(0.1f * step);
    if (camera.startTime == lastStart) continue;
    lastStart = camera.startTime;
    durations.push_back(camera.switchTime - camera.startTime);
    targets.push_back(camera.to.x);
  }
  const float expected[5] = {2, 3, 3, 2, 2};
  ASSERT_EQ(durations.size(), 5u);
  for (int i = 0; i < 5; ++i)
    EXPECT_NEAR(durations[i], expected[i], 1e-4f) << i;
  EXPECT_EQ(targets, (std::vector<float>{200, 300, 200, 100, 200}));

  // Halfway through a move the easing is half done, zoom included.
  DSM_Camera eased;
  eased.mode.SetValue(2);
  AddPoint(eased, 100, 100, 2, 100);
  AddPoint(eased, 300, 100, 2, 200);
  eased.frameWidth.SetValue(400);
  eased.frameHeight.SetValue(200);
  Start(eased);
  eased.Update(0);
  for (int i = 1; i <= 10; ++i)
    eased.Update(0.1f * i);
  EXPECT_NEAR(Context().cameraOffset.x, 600 - 200, 0.01f);
  EXPECT_NEAR(Context().cameraWorld._11, 1.5f, 1e-4f);
  // The point looked at (200, 100) lands on the centre of the 400 x 200 frame, and the zoom
  // pivots about it, whatever the size of the target in pixels.
  const auto world = [&](float x, float y) {
    D3DXVECTOR3 out;
    const D3DXVECTOR3 in(x, y, 0);
    D3DXVec3TransformCoord(&out, &in, &Context().cameraWorld);
    return out;
  };
  EXPECT_NEAR(world(200, 100).x, 200, 1e-3f);
  EXPECT_NEAR(world(200, 100).y, 100, 1e-3f);
  EXPECT_NEAR(world(210, 90).x, 215, 1e-3f);
  EXPECT_NEAR(world(210, 90).y, 85, 1e-3f);
}

TEST_F(CameraTest, MovesWithoutDurationAndZoomsOfZero) {
  DSM_Camera camera;
  camera.mode.SetValue(2);
  AddPoint(camera, 100, 100, 0);
  AddPoint(camera, 500, 300, 0);
  Start(camera);
  camera.Update(0);  // clock 0, a move of zero length
  EXPECT_FLOAT_EQ(Context().cameraOffset.x, 600 - 500);
  EXPECT_FLOAT_EQ(Context().cameraOffset.y, 300 - 300);
  for (const D3DXMATRIX& m : {Context().cameraWorld}) {
    EXPECT_TRUE(std::isfinite(m._41));
    EXPECT_TRUE(std::isfinite(m._11));
  }

  // A path point's zoom of 0 % is a factor of 0: on the way to such a point the picture shrinks
  // towards the point looked at, and a camera that starts at one shows it as a point.
  for (const auto& [firstZoom, atStart, halfWay] :
       {std::tuple{100u, 1.0f, 0.5f}, {0u, 0.0f, 0.0f}}) {
    DSM_Camera shrinking;
    shrinking.mode.SetValue(2);
    AddPoint(shrinking, 100, 100, 2, firstZoom);
    AddPoint(shrinking, 500, 300, 2, 0);
    Start(shrinking);
    shrinking.Update(0);
    EXPECT_NEAR(Context().cameraWorld._11, atStart, 1e-5f) << firstZoom;
    for (int i = 1; i <= 5; ++i)
      shrinking.Update(0.2f * i);  // half way to the second point
    EXPECT_NEAR(Context().cameraWorld._11, halfWay, 1e-5f) << firstZoom;
    EXPECT_NEAR(Context().cameraWorld._22, halfWay, 1e-5f) << firstZoom;
    EXPECT_TRUE(std::isfinite(Context().cameraWorld._41)) << firstZoom;
  }

  // A drift zoom of 0, which the drift divides by, counts as 1: the view shows the whole picture.
  DSM_Camera zero;
  zero.mode.SetValue(1);
  zero.zoom.SetValue(0);
  Start(zero);
  EXPECT_FLOAT_EQ(Context().frameW, 1200);
  crt_srand(2);
  for (int i = 0; i < 20; ++i)
    zero.Update(0.2f * i);
  EXPECT_TRUE(std::isfinite(Context().cameraOffset.x));
}

TEST_F(CameraTest, FitModeThreeAlwaysShowsTheWholePicture) {
  DSM_Camera camera;
  camera.mode.SetValue(1);
  Start(camera);
  QuadCorners view;
  view.FromBackBuffer();
  camera.ApplyView(view, {1200, 600}, 3, true);
  EXPECT_FLOAT_EQ(Context().frameW, 1200);
  camera.SetFrameSize(1000, 501);
  EXPECT_EQ(camera.frameWidth.Value(), 800u);
  EXPECT_EQ(camera.frameHeight.Value(), 400u);
}

}  // namespace
}  // namespace renderer_test
