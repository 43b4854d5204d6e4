// The figure shapes: rectangle, sector, spiral and sphere.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/param/owned_control_list.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_sector.h"
#include "geometry/shape/zkw_vgeom2d_sphere.h"
#include "geometry/shape/zkw_vgeom2d_spiral.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

TEST(RectShape, ContainsAndPoints) {
  ZKW_VGeom2D_Rect rect;
  EXPECT_TRUE(rect.Contains({300, 200, 0}));
  EXPECT_TRUE(rect.Contains({-300, -200, 5}));
  EXPECT_FALSE(rect.Contains({300.5f, 0, 0}));
  EXPECT_FALSE(rect.Contains({0, -201, 0}));
  V point, direction(7, 7, 7);
  float uv[2] = {1, 1};
  ASSERT_TRUE(rect.PointAt(uv, &point, &direction));
  EXPECT_EQ(point, V(300, 200, 0));
  EXPECT_EQ(direction, V(7, 7, 7)) << "no direction";
  rect.position.SetValue({10, 20, 3});
  ASSERT_TRUE(rect.PointAtUV(0.5f, 0, &point, nullptr));
  EXPECT_EQ(point, V(10, -180, 3));
  EXPECT_EQ(rect.GetSpanAcross(0), 400.0f);
  EXPECT_EQ(rect.GetSpanAlong(0), 600.0f);
  V tangent, normal;
  ASSERT_TRUE(rect.NormalAtParam(point, uv, &tangent, &normal));
  EXPECT_EQ(tangent, V(1, 0, 0));
  EXPECT_EQ(normal, V(-0.0f, 1, 0));
  EXPECT_TRUE(std::signbit(normal.x));
}

TEST(RectShape, ClipRayLeavesThroughTheSideItMeets) {
  ZKW_VGeom2D_Rect rect;
  const struct {
    V from, along, exit;
  } cases[] = {
      {{0, 0, 0}, {1, 1, 0}, {200, 200, 0}},  // the x side is out of range: the y side
      {{0, 0, 0}, {1, 0, 0}, {300, 0, 0}},
      {{0, 0, 0}, {-1, 0.1f, 0}, {-300, 30, 0}},
      {{100, 0, 0}, {0, -1, 0}, {100, -200, 0}},
      {{300, 200, 0}, {1, 1, 0}, {300, 200, 0}},  // a corner: both sides, the y side wins
      {{10, 20, 4}, {0, 0, 0}, {10, 20, 4}},      // no direction: the start itself
  };
  for (const auto& c : cases) {
    V exit(9, 9, 9);
    ASSERT_TRUE(rect.ClipRay(c.from, c.along, &exit));
    ExpectNear(exit, c.exit, 1e-3f);
  }
  V exit(9, 9, 9);
  EXPECT_FALSE(rect.ClipRay({400, 0, 0}, {1, 0, 0}, &exit)) << "a start outside";
  EXPECT_EQ(exit, V(9, 9, 9));

  rect.position.SetValue({1000, 0, 5});
  ASSERT_TRUE(rect.ClipRay({1000, 0, 0}, {1, 1, 0}, &exit));
  EXPECT_EQ(exit, V(1200, 200, 5));
}

TEST(RectShape, NormalOfTheNearestSide) {
  ZKW_VGeom2D_Rect rect;
  V normal;
  EXPECT_EQ(*rect.NormalAt(&normal, {290, 10, 0}), V(1, 0, 0));
  EXPECT_EQ(*rect.NormalAt(&normal, {-290, 10, 0}), V(-1, 0, 0));
  EXPECT_EQ(*rect.NormalAt(&normal, {0, 0, 0}), V(0, 1, 0)) << "+0 counts as positive";
  EXPECT_EQ(*rect.NormalAt(&normal, {0, -0.0f, 0}), V(0, -1, 0));
  EXPECT_EQ(*rect.NormalAt(&normal, {5, -150, 0}), V(0, -1, 0));
  rect.width.SetValue(100);
  rect.height.SetValue(100);
  EXPECT_EQ(*rect.NormalAt(&normal, {10, 10, 0}), V(0, 1, 0)) << "a tie picks the y side";
}

TEST(RectShape, CallbacksFollowTheGeometryUntilCleared) {
  ZKW_VGeom2D_Rect rect;
  int calls = 0;
  OwnedControlList list;
  rect.AttachParamCallbacks(list, [&calls] { ++calls; });
  EXPECT_EQ(list.Size(), 3u) << "position, width and height";
  rect.width.SetValue(601);
  EXPECT_EQ(calls, 1);
  rect.width.SetValue(601);
  EXPECT_EQ(calls, 1) << "an unchanged value tells nobody";
  rect.position.SetValue({1, 0, 0});
  rect.height.SetValue(1);
  EXPECT_EQ(calls, 3);
  list.Clear();
  rect.width.SetValue(5);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(rect.width.ControlCount(), 1) << "only the undo control is left";

  // A list that outlives its shape.
  auto sector = std::make_unique<ZKW_VGeom2D_Sector>();
  sector->AttachParamCallbacks(list, [&calls] { ++calls; });
  sector->innerRadius.SetValue(5);
  EXPECT_EQ(calls, 4);
  sector.reset();
  list.Clear();

  ZKW_VGeom2D_Sphere sphere;
  sphere.AttachParamCallbacks(list, [&calls] { ++calls; });
  EXPECT_EQ(list.Size(), 0u) << "the sphere watches nothing";
}

TEST(SectorShape, PointsNormalsAndSpans) {
  ZKW_VGeom2D_Sector sector;
  V point;
  float uv[2] = {0, 0.5f};
  ASSERT_TRUE(sector.PointAt(uv, &point, nullptr));
  ExpectNear(point, {400, 0, 0}, 1e-3f);
  EXPECT_EQ(sector.GetSpanAlong(0), 400.0f);
  EXPECT_NEAR(sector.GetSpanAcross(0), 400 * 6.2831855f, 1e-3f);

  // v = 0 on the edge at direction + sweep / 2: 90 degrees turns towards -y.
  sector.sweep.SetValue(180);
  sector.innerRadius.SetValue(100);
  uv[1] = 0;
  ASSERT_TRUE(sector.PointAt(uv, &point, nullptr));
  ExpectNear(point, {0, -400, 0}, 1e-3f);
  uv[0] = 1;
  uv[1] = 1;
  ASSERT_TRUE(sector.PointAt(uv, &point, nullptr));
  ExpectNear(point, {0, 100, 0}, 1e-3f);
  EXPECT_EQ(sector.GetSpanAlong(0), 300.0f);
  EXPECT_NEAR(sector.GetSpanAcross(1), 100 * 3.1415927f, 1e-3f);

  V normal, tangent;
  ExpectNear(*sector.NormalAt(&normal, {200, 0, 0}), {-1, 0, 0});
  ExpectNear(*sector.NormalAt(&normal, {300, 0, 0}), {1, 0, 0});
  ExpectNear(*sector.NormalAt(&normal, {0, 0, 0}), {0, 0, 0});  // no direction at the centre
  sector.innerRadius.SetValue(400);
  ExpectNear(*sector.NormalAt(&normal, {0, 200, 0}), {0, 1, 0});  // no ring when Ri = R
  ASSERT_TRUE(sector.NormalAtParam({0, 200, 0}, uv, &tangent, &normal));
  ExpectNear(tangent, {0, -1, 0});
  ExpectNear(normal, {-1, 0, 0});
}

TEST(SpiralShape, PointsAlongTheArms) {
  ZKW_VGeom2D_Spiral spiral;
  V point;
  for (float v : {0.0f, 0.3f, 0.99f}) {
    float uv[2] = {0, v};
    ASSERT_TRUE(spiral.PointAt(uv, &point, nullptr));
    EXPECT_EQ(point, V(0, 0, 0)) << "the centre for any v";
  }
  float uv[2] = {1, 0};
  ASSERT_TRUE(spiral.PointAt(uv, &point, nullptr));
  ExpectNear(point, {113.07f, 277.88f, 0}, 0.02f);
  EXPECT_EQ(spiral.GetSpanAlong(0), 300.0f);
  EXPECT_EQ(spiral.GetSpanAcross(0), 0.0f);

  // v = 1/3 starts the second of three arms, 120 degrees on; an untwisted arm is straight.
  spiral.arms.twist.SetValue(0);
  uv[1] = 1.0f / 3;
  ASSERT_TRUE(spiral.PointAt(uv, &point, nullptr));
  ExpectNear(point, {300 * std::cos(2.0943952f), -300 * std::sin(2.0943952f), 0}, 0.02f);

  // No arms count as one, instead of dividing by zero.
  spiral.arms.armCount.SetValue(0);
  spiral.arms.armSpan.SetValue(90);
  uv[1] = 0.5f;
  ASSERT_TRUE(spiral.PointAt(uv, &point, nullptr));
  ExpectNear(point, {300 * std::cos(0.7853982f), -300 * std::sin(0.7853982f), 0}, 0.02f);
}

TEST(SpiralShape, TangentsAreFiniteEverywhere) {
  ZKW_VGeom2D_Spiral spiral;
  spiral.position.SetValue({10, 10, 0});
  V tangent, normal;
  const float uv[2] = {0, 0};
  ASSERT_TRUE(spiral.TangentAt({10, 10, 0}, uv, &tangent));
  EXPECT_EQ(tangent, V(1, 0, 0)) << "at the centre";
  EXPECT_EQ(*spiral.NormalAt(&normal, {10, 10, 0}), V(1, 0, 0));

  // With the twist, the tangent of the bent circle: q = 1 / (t 2 pi k).
  const float q = 1.0f / (-1.0f * 2 * 3.1415927f * spiral.arms.twist.Scaled());
  ASSERT_TRUE(spiral.TangentAt({13, 14, 0}, uv, &tangent));
  V expected(-4 - 0.6f * q, 3 - 0.8f * q, 0);
  expected /= std::sqrt(expected.x * expected.x + expected.y * expected.y);
  ExpectNear(tangent, expected);
  ASSERT_TRUE(spiral.NormalAtParam({13, 14, 0}, uv, &tangent, &normal));
  ExpectNear(normal, {0.8f, -0.6f, 0});

  // Without a twist, the limit: -t d / |d|, outwards for turn 0 and inwards for turn 1.
  spiral.arms.twist.SetValue(0);
  ASSERT_TRUE(spiral.TangentAt({13, 14, 0}, uv, &tangent));
  ExpectNear(tangent, {0.6f, 0.8f, 0});
  spiral.arms.turn.SetValue(1);
  ExpectNear(*spiral.NormalAt(&normal, {13, 14, 0}), {-0.6f, -0.8f, 0});
}

TEST(SphereShape, PointAtIsTheCentre) {
  ZKW_VGeom2D_Sphere sphere;
  sphere.position.SetValue({1, 2, 3});
  V point(9, 9, 9), direction(7, 7, 7), normal;
  float uv[2] = {0.3f, 0.6f};
  ASSERT_TRUE(sphere.PointAt(uv, &point, &direction));
  EXPECT_EQ(point, V(1, 2, 3));
  EXPECT_EQ(direction, V(7, 7, 7));
  ASSERT_TRUE(sphere.PointAtUV(1, 1, &point, nullptr));
  EXPECT_EQ(point, V(1, 2, 3));
  ExpectNear(*sphere.NormalAt(&normal, {1, 2, 8}), {0, 0, 1});
  EXPECT_FALSE(sphere.TangentAt(point, uv, &direction));
  EXPECT_FALSE(sphere.NormalAtParam(point, uv, &direction, &normal));
  EXPECT_FALSE(sphere.Contains(point));
}

}  // namespace
