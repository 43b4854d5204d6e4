#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/tree/preset/curve_points.h"
#include "particles/tree/preset/curve_profile.h"

namespace {

DS_SafePtr<ZKW_VGraph> Straight(float y0, float y1) {
  return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>(y0, y1));
}

class CurveProfileTest : public ::testing::Test {
 protected:
  CurveProfileTest() {
    profile.start.SetGraph(Straight(0, 1));
    profile.middle.SetGraph(Straight(1, 2));
    profile.end.SetGraph(Straight(3, 4));
  }
  CurveProfile profile;
};

TEST_F(CurveProfileTest, SectionsFollowTheirOwnEnvelopes) {
  const CurveSections sections{30, 10, 10};  // middle, end, start
  const struct {
    float lengthFactor, s, factor;
  } cases[] = {
      // 50 units: the start graph over 0-10, the middle graph over 10-40, the end over 40-50.
      {1, 0.1f, 0.5f},
      {1, 0.5f, 1.5f},
      {1, 0.9f, 3.5f},
      {1, 0.2f, 1.0f},  // the middle's first unit
      // 12.5 units (middle -7.5): start(x / 10) x end((x - 2.5) / 10) everywhere.
      {0.25f, 0.2f, 0.25f * 3.0f},
      {0.25f, 0.5f, 0.625f * 3.375f},
      {0.25f, 0.8f, 1.0f * 3.75f},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(profile.At(sections, c.lengthFactor, c.s), c.factor, 1e-5f)
        << c.lengthFactor << " at " << c.s;
}

TEST_F(CurveProfileTest, SectionsOfLengthZeroGiveOne) {
  const struct {
    CurveSections sections;
    float s, factor;
  } cases[] = {
      {{30, 0, 0}, 0.5f, 1.5f},  // no ends: the middle over all of it
      {{0, 0, 0}, 0.5f, 1.0f},   // nothing at all
      {{0, 10, 0}, 0.5f, 3.5f},  // only an end: longer than the curve, the start counts 1
  };
  for (const auto& c : cases) {
    const float factor = profile.At(c.sections, 1, c.s);
    EXPECT_TRUE(std::isfinite(factor));
    EXPECT_NEAR(factor, c.factor, 1e-5f) << c.sections.middle << " " << c.sections.end;
  }
}

std::vector<CurvePoint> Build(std::vector<D3DXVECTOR3> at, bool normalise = true) {
  return BuildCurvePoints(at, normalise);
}

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, const char* what) {
  EXPECT_NEAR(got.x, want.x, 1e-5f) << what;
  EXPECT_NEAR(got.y, want.y, 1e-5f) << what;
}

TEST(CurvePoints, ArcLengthsNormalsAndJoinsOfAStraightCurve) {
  const auto points = Build({{0, 0, 0}, {10, 0, 0}, {30, 0, 0}});
  ASSERT_EQ(points.size(), 3u);
  const float s[3] = {0, 1.0f / 3, 1};
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(points[k].s, s[k]);
    ExpectNear(points[k].normalIn, {0, -1, 0}, "in");
    ExpectNear(points[k].normalOut, {0, -1, 0}, "out");
    ExpectNear(points[k].join, {0, 1, 0}, "join: the other side");
    EXPECT_TRUE(points[k].sideFlag);
  }
  EXPECT_FLOAT_EQ(Build({{0, 0, 0}, {10, 0, 0}, {30, 0, 0}}, false)[2].s, 30.0f);
}

TEST(CurvePoints, EachTurnPutsItsBevelOutsideAndItsJoinInside) {
  // Right, then up: the normals (right of the way) lie outside the turn as they are.
  const auto left = Build({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  ExpectNear(left[1].normalIn, {0, -1, 0}, "in");
  ExpectNear(left[1].normalOut, {1, 0, 0}, "out");
  ExpectNear(left[1].join, {-1, 1, 0}, "join to the inner corner");
  EXPECT_TRUE(left[1].sideFlag);
  // Right, then down: they are turned over to the outside, and the flag says so.
  const auto right = Build({{0, 0, 0}, {10, 0, 0}, {10, -10, 0}});
  ExpectNear(right[1].normalIn, {0, 1, 0}, "in");
  ExpectNear(right[1].normalOut, {1, 0, 0}, "out");
  ExpectNear(right[1].join, {-1, -1, 0}, "join to the inner corner");
  EXPECT_FALSE(right[1].sideFlag);
  // The end points take their one segment's normal and the join opposite it.
  ExpectNear(right[2].normalIn, {-1, 0, 0}, "last in");
  ExpectNear(right[2].normalOut, {-1, 0, 0}, "last out");
  ExpectNear(right[2].join, {1, 0, 0}, "last join");
}

TEST(CurvePoints, SegmentsOfLengthZeroDivideByNothing) {
  const struct {
    std::vector<D3DXVECTOR3> at;
    std::vector<float> s;
  } cases[] = {
      {{{0, 0, 0}, {0, 0, 0}, {10, 0, 0}}, {0, 0, 1}},  // at the start: normal 0
      {{{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {20, 0, 0}}, {0, 0.5f, 0.5f, 1}},  // the one before
      {{{5, 5, 0}, {5, 5, 0}}, {0, 0}},  // no length at all: not normalised
  };
  for (const auto& c : cases) {
    const auto points = Build(c.at);
    ASSERT_EQ(points.size(), c.s.size());
    for (size_t k = 0; k < points.size(); ++k) {
      EXPECT_FLOAT_EQ(points[k].s, c.s[k]) << k;
      for (const D3DXVECTOR3* v : {&points[k].normalIn, &points[k].normalOut, &points[k].join})
        EXPECT_TRUE(std::isfinite(v->x) && std::isfinite(v->y)) << k;
    }
  }
  const auto first = Build(cases[0].at);
  ExpectNear(first[0].normalOut, {0, 0, 0}, "nothing before it");
  ExpectNear(first[2].normalIn, {0, -1, 0}, "the segment that has a length");
  const auto middle = Build(cases[1].at);
  ExpectNear(middle[2].normalIn, {0, -1, 0}, "kept from the segment before");
}

TEST(CurvePoints, TheVisiblePartIsCutOutOfTheCurve) {
  // 80 units: s = 0, 0.375, 0.625, 1.
  const auto points = Build({{0, 0, 0}, {30, 0, 0}, {50, 0, 0}, {80, 0, 0}});
  const struct {
    float start, end;
    std::vector<float> xs;
  } cases[] = {
      {0.25f, 0.75f, {20, 50, 60}},  // the middle half, its ends on the cuts
      {0, 1, {0, 30, 50, 80}},
      {0.5f, 0.55f, {40, 44}},  // both cuts inside one segment
      {1.5f, 2, {}},            // nothing reaches the start
  };
  for (const auto& c : cases) {
    const auto visible = VisiblePart(points, c.start, c.end);
    ASSERT_EQ(visible.size(), c.xs.size()) << c.start;
    for (size_t i = 0; i < visible.size(); ++i)
      EXPECT_NEAR(visible[i].position.x, c.xs[i], 1e-4f) << c.start << " point " << i;
    if (!visible.empty()) {
      EXPECT_FLOAT_EQ(visible.front().s, std::max(c.start, 0.0f));
      EXPECT_FLOAT_EQ(visible.back().s, std::min(c.end, 1.0f));
    }
  }
}

}  // namespace
