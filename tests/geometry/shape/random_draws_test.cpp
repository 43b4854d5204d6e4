// The random draws of the shapes: which draws each operation makes, in which order.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/shape/shape_fixture.h"
#include "geometry/shape/zkw_vgeom2d_freeform.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_sector.h"
#include "geometry/shape/zkw_vgeom2d_sphere.h"
#include "geometry/shape/zkw_vgeom2d_spiral.h"
#include "geometry/shape/zkw_vgeom2d_text.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

// Seeds whose first draw is 0 and 32767.
constexpr unsigned kFirstDrawZero = 20057;
constexpr unsigned kFirstDrawMax = 30091;

// Whether the next draw is draws[index]: exactly `index` draws were made since seeding.
bool NextDrawIs(const std::vector<int>& draws, size_t index) {
  return crt_rand() == draws[index];
}

TEST(ShapeDraws, BaseRandomPointDrawsUThenV) {
  ZKW_VGeom2D_Rect rect;
  const std::vector<int> draws = DrawsAfterSeed(7, 3);
  V point;
  float uv[2] = {-1, -1};
  ASSERT_TRUE(rect.RandomPoint(&point, uv));
  EXPECT_EQ(uv[0], Unit(draws[0]));
  EXPECT_EQ(uv[1], Unit(draws[1]));
  ExpectNear(point, {600 * (Unit(draws[0]) - 0.5f), 400 * (Unit(draws[1]) - 0.5f), 0}, 1e-3f);
  EXPECT_TRUE(NextDrawIs(draws, 2));
}

TEST(ShapeDraws, BaseRandomDirectionFromOneDraw) {
  ZKW_VGeom2D_Rect rect;
  crt_srand(kFirstDrawZero);
  V direction;
  rect.RandomDirection(&direction);
  EXPECT_EQ(direction, V(1, 0, 0));
  EXPECT_TRUE(std::signbit(direction.y)) << "(1, -0, 0)";

  const std::vector<int> draws = DrawsAfterSeed(11, 2);
  rect.RandomDirection(&direction);
  const double a = static_cast<double>(Unit(draws[0]) * 6.2831855f);
  EXPECT_EQ(direction, V(static_cast<float>(std::cos(a)), static_cast<float>(-std::sin(a)), 0));
  EXPECT_TRUE(NextDrawIs(draws, 1));
}

TEST(ShapeDraws, SectorAreaPointsSpreadOverTheRing) {
  ZKW_VGeom2D_Sector sector;
  sector.radius.SetValue(400);
  sector.innerRadius.SetValue(100);
  sector.position.SetValue({10, 20, 3});
  const std::vector<int> draws = DrawsAfterSeed(5, 3);
  V point;
  ASSERT_TRUE(sector.RandomAreaPoint(&point));
  // The full circle: the angle runs from pi down to -pi.
  const float a = 3.1415925f - 6.283185f * Unit(draws[0]);
  const float r = 400 * std::sqrt(0.0625f + 0.9375f * Unit(draws[1]));
  ExpectNear(point, {10 + r * std::cos(a), 20 - r * std::sin(a), 3}, 1e-2f);
  EXPECT_TRUE(NextDrawIs(draws, 2));

  sector.radius.SetValue(0);
  const std::vector<int> one = DrawsAfterSeed(5, 2);
  ASSERT_TRUE(sector.RandomAreaPoint(&point));
  EXPECT_EQ(point, V(10, 20, 3)) << "the position";
  EXPECT_TRUE(NextDrawIs(one, 1)) << "one draw when R = 0";
}

TEST(ShapeDraws, SphereTurnsADiscDirectionAboutY) {
  ZKW_VGeom2D_Sphere sphere;
  sphere.position.SetValue({1, 2, 3});
  const std::vector<int> draws = DrawsAfterSeed(9, 6);
  V point;
  float uv[2] = {-1, -1};
  ASSERT_TRUE(sphere.RandomPoint(&point, uv));
  EXPECT_EQ(uv[0], -1.0f) << "uv untouched";
  const float rho = 200 * Unit(draws[0]);
  const float a = Unit(draws[1]) * 6.2831855f;
  const float turn = Unit(draws[2]) * 3.1415927f;
  ExpectNear(
      point - V(1, 2, 3),
      {rho * std::cos(a) * std::cos(turn), -rho * std::sin(a), -rho * std::cos(a) * std::sin(turn)},
      1e-3f);

  V direction;
  sphere.RandomDirection(&direction);
  const float b = Unit(draws[3]) * 6.2831855f;
  const float turn2 = Unit(draws[4]) * 3.1415927f;
  ExpectNear(direction,
             {std::cos(b) * std::cos(turn2), -std::sin(b), -std::cos(b) * std::sin(turn2)});
  EXPECT_TRUE(NextDrawIs(draws, 5));
}

TEST(ShapeDraws, SpiralDrawsEvenlyOverTheDisc) {
  ZKW_VGeom2D_Spiral spiral;
  const std::vector<int> draws = DrawsAfterSeed(3, 3);
  V point, expected;
  float uv[2] = {-1, -1};
  ASSERT_TRUE(spiral.RandomPoint(&point, uv));
  EXPECT_EQ(uv[0], std::sqrt(Unit(draws[0]))) << "u = sqrt(r1) written back";
  EXPECT_EQ(uv[1], Unit(draws[1]));
  float again[2] = {uv[0], uv[1]};
  spiral.PointAt(again, &expected, nullptr);
  EXPECT_EQ(point, expected);
  EXPECT_TRUE(NextDrawIs(draws, 2));
}

// Cells with the running weights 1, 3, 6, each spanning its own ranges.
ZKW_VGeom2D_Freeform WeightedCells(float total) {
  ZKW_VGeom2D_Freeform freeform;
  freeform.cells = {{0, 0, 1, 1, 1, 1}, {10, 20, 11, 22, 1, 3}, {100, 200, 104, 208, 1, 6}};
  freeform.totalWeight = total;
  return freeform;
}

TEST(ShapeDraws, FreeformPicksCellsByRunningWeight) {
  const ZKW_VGeom2D_Freeform freeform = WeightedCells(6);
  const struct {
    unsigned seed;
    V low, high;  // the chosen cell's corners
  } cases[] = {
      {kFirstDrawZero, {0, 0, 0}, {1, 1, 0}},         // t = 0: the first cell
      {1661, {10, 20, 0}, {11, 22, 0}},               // t just above 1: the second
      {kFirstDrawMax, {100, 200, 0}, {104, 208, 0}},  // t = 6: the third
  };
  for (const auto& c : cases) {
    const std::vector<int> draws = DrawsAfterSeed(c.seed, 4);
    V point;
    float uv[2] = {-1, -1};
    ASSERT_TRUE(freeform.RandomPoint(&point, uv));
    // y from the second draw, then x from the third.
    ExpectNear(point,
               {c.low.x + (c.high.x - c.low.x) * Unit(draws[2]),
                c.low.y + (c.high.y - c.low.y) * Unit(draws[1]), 0},
               1e-4f);
    EXPECT_EQ(uv[0], -1.0f);
    EXPECT_TRUE(NextDrawIs(draws, 3));
  }

  // A total past the last weight: a draw beyond it gives the origin after one draw.
  const ZKW_VGeom2D_Freeform overweight = WeightedCells(12);
  const std::vector<int> draws = DrawsAfterSeed(kFirstDrawMax, 2);
  V point(5, 5, 5);
  ASSERT_TRUE(overweight.RandomPoint(&point, nullptr));
  EXPECT_EQ(point, V(0, 0, 0));
  EXPECT_TRUE(NextDrawIs(draws, 1));

  ZKW_VGeom2D_Freeform empty;
  point = {5, 5, 5};
  EXPECT_FALSE(empty.RandomPoint(&point, nullptr));
  EXPECT_EQ(point, V(5, 5, 5));
}

TEST(ShapeDraws, TextMovesItsPointsByTheOffset) {
  ZKW_VGeom2D_Text text;
  text.offset.SetValue({5, 5, 0});
  V point(1, 1, 0);
  EXPECT_TRUE(text.RandomPoint(&point, nullptr)) << "no cells: the given point, moved";
  EXPECT_EQ(point, V(6, 6, 0));
  V centre;
  EXPECT_EQ(*text.GetCenter(&centre), V(5, 5, 0));

  text.cells = WeightedCells(6).cells;
  text.totalWeight = 6;
  crt_srand(kFirstDrawZero);
  ASSERT_TRUE(text.RandomPoint(&point, nullptr));
  EXPECT_GE(point.x, 5.0f);
  EXPECT_LE(point.x, 6.0f);
  EXPECT_GE(point.y, 5.0f);
  EXPECT_LE(point.y, 6.0f);
  EXPECT_FALSE(text.IsParametric());
  EXPECT_FALSE(text.PointAtUV(0.5f, 0.5f, &point, nullptr));
}

}  // namespace
