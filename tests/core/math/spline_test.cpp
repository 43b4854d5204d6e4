#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/math/cubic_bezier.h"
#include "core/math/cubic_spline.h"
#include "core/math/parametric_spline_2d.h"

namespace {

// Worked out by hand for the points (0, 0), (1, 1), (2, 0): the sweep gives alpha1 = -1/4,
// beta1 = -3, the right-end second derivative (-12 + 3) / (4 - 1/4) = -2.4, then c1 = -2.4,
// b1 = 0.2, d1 = -2.4, b2 = -2.2, d2 = 0.
TEST(CubicSpline, ThroughThreePointsWithItsEndConditions) {
  const double x[] = {0, 1, 2};
  const double y[] = {0, 1, 0};
  CubicSpline spline;
  ASSERT_TRUE(spline.Build(x, y, 3));
  const auto& nodes = spline.Nodes();
  EXPECT_EQ(nodes[0].c, 0.0) << "left end";
  EXPECT_DOUBLE_EQ(nodes[2].c, -2.4) << "right end: the value of the last sweep row, not 0";
  EXPECT_DOUBLE_EQ(nodes[1].c, -2.4);
  EXPECT_DOUBLE_EQ(nodes[1].b, 0.2);
  EXPECT_DOUBLE_EQ(nodes[2].b, -2.2);

  struct Case {
    double x, y;
  };
  const Case cases[] = {{0, 0},     {1, 1},   {2, 0},   {0.5, 0.65},
                        {1.5, 0.8}, {-1, -1}, {3, -3.4}};  // extended first and last pieces
  for (const Case& c : cases)
    EXPECT_NEAR(spline.Evaluate(c.x), c.y, 1e-12) << c.x;
}

TEST(CubicSpline, RefusesWhatItCannotBuild) {
  const double x[] = {0, 1, 1, 2};
  const double y[] = {0, 1, 2, 3};
  CubicSpline spline;
  EXPECT_TRUE(std::isnan(spline.Evaluate(0))) << "unbuilt";
  EXPECT_FALSE(spline.Build(x, y, 2));
  EXPECT_TRUE(spline.Empty()) << "fewer than 3 points";
  EXPECT_FALSE(spline.Build(x, y, 4)) << "x not increasing";
  EXPECT_TRUE(std::isnan(spline.Evaluate(0.5)));
}

TEST(ParametricSpline2D, PointsAndSamplesOverThePointIndex) {
  ParametricSpline2D spline;
  for (auto [x, y] : {std::pair{0.0f, 0.0f}, {1.0f, 1.0f}, {2.0f, 0.0f}, {3.0f, 1.0f}})
    spline.AddPoint(x, y);
  ASSERT_TRUE(spline.Build());
  const D3DXVECTOR3 first = spline.PointAt(0);
  EXPECT_NEAR(first.x, 0, 1e-6);
  EXPECT_NEAR(first.y, 0, 1e-6);
  EXPECT_EQ(first.z, 0.0f);
  const D3DXVECTOR3 last = spline.PointAt(1);
  EXPECT_NEAR(last.x, 3, 1e-6);
  EXPECT_NEAR(last.y, 1, 1e-6);
  const D3DXVECTOR3 second = spline.PointAt(1.0f / 3.0f);
  EXPECT_NEAR(second.x, 1, 1e-6);
  EXPECT_NEAR(second.y, 1, 1e-6);

  std::vector<D3DXVECTOR3> samples;
  spline.Sample(samples);
  ASSERT_GE(samples.size(), 100u);
  ASSERT_LE(samples.size(), 101u);
  // x(t) = t here: the samples are 3 / 100 apart in t, starting at t = 0.
  for (size_t i = 0; i < samples.size(); ++i) {
    EXPECT_NEAR(samples[i].x, 0.03 * i, 1e-4) << i;
    EXPECT_EQ(samples[i].z, 0.0f);
  }
}

TEST(ParametricSpline2D, TooFewPointsSampleNothing) {
  ParametricSpline2D spline;
  std::vector<D3DXVECTOR3> samples;
  spline.Sample(samples);
  EXPECT_TRUE(std::isnan(spline.PointAt(0.5f).x));
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 1);
  EXPECT_FALSE(spline.Build());
  spline.Sample(samples);
  EXPECT_TRUE(samples.empty());
  EXPECT_TRUE(std::isnan(spline.PointAt(0.5f).y));
}

TEST(SampleCubicBezier, StepsEndsAndChaining) {
  const D3DXVECTOR3 p0(0, 0, 0), p1(1, 0, 0), p2(1, 1, 0), p3(0, 1, 0);
  std::vector<D3DXVECTOR3> points, tangents;
  SampleCubicBezier(points, tangents, p0, p1, p2, p3, 4);
  ASSERT_EQ(points.size(), 5u);
  ASSERT_EQ(tangents.size(), 5u);
  EXPECT_EQ(points[0], p0);
  EXPECT_EQ(points[4], p3);
  EXPECT_EQ(points[2], D3DXVECTOR3(0.75f, 0.5f, 0));
  EXPECT_EQ(tangents[0], D3DXVECTOR3(3, 0, 0));
  EXPECT_EQ(tangents[2], D3DXVECTOR3(0, 1.5f, 0));
  EXPECT_EQ(tangents[4], D3DXVECTOR3(-3, 0, 0));

  // The next segment starts where this one ended: its first point is not stored again.
  SampleCubicBezier(points, tangents, p3, p2, p1, p0, 4);
  EXPECT_EQ(points.size(), 9u);
  EXPECT_EQ(tangents.size(), 9u);
  EXPECT_EQ(points.back(), p0);

  SampleCubicBezier(points, tangents, p0, p1, p2, p3, 0);
  EXPECT_EQ(points.size(), 9u) << "steps 0 after a matching end";
  std::vector<D3DXVECTOR3> fresh, freshTangents;
  SampleCubicBezier(fresh, freshTangents, p0, p1, p2, p3, 0);
  SampleCubicBezier(fresh, freshTangents, p0, p1, p2, p3, -2);
  EXPECT_TRUE(fresh.empty()) << "steps 0 with nothing before: no division by zero";
  EXPECT_TRUE(freshTangents.empty());
}

}  // namespace
