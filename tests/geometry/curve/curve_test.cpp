#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "geometry/curve/polyline_curve.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

bool Finite(const V& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(CurveSamples, LengthsFollowThePoints) {
  const PolylineCurve curve({{0, 0, 0}, {3, 4, 0}, {3, 4, 2}});
  const auto& s = curve.Samples();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].segmentLength, 5.0f);
  EXPECT_EQ(s[0].cumulativeLength, 5.0f);
  EXPECT_EQ(s[1].segmentLength, 2.0f);
  EXPECT_EQ(s[1].cumulativeLength, 7.0f);
  EXPECT_EQ(s[2].segmentLength, 0.0f);
  EXPECT_EQ(s[2].cumulativeLength, 0.0f);
  EXPECT_EQ(curve.TotalLength(), 7.0f);

  std::vector<std::pair<float, float>> lengths;
  curve.ForEachLength([&](const float& a, const float& b) { lengths.emplace_back(a, b); });
  EXPECT_EQ(lengths, (std::vector<std::pair<float, float>>{{0, 5}, {5, 7}}));
  int segments = 0;
  curve.ForEachSegment([&](const V&, const V& to) {
    ++segments;
    EXPECT_EQ(to, s[segments].position);
  });
  EXPECT_EQ(segments, 2);
}

TEST(CurveQueries, ShortLists) {
  const PolylineCurve empty({});
  const PolylineCurve single({{2, 3, 0}});
  V point(9, 9, 9), direction(9, 9, 9);
  for (const PolylineCurve* c : {&empty, &single}) {
    EXPECT_EQ(c->TotalLength(), 0.0f);
    EXPECT_FALSE(c->ClosestPoint({0, 0, 0}, &point, &direction));
    EXPECT_FALSE(c->DirectionAtLength(0.0f, &direction));
  }
  EXPECT_EQ(point, V(9, 9, 9)) << "outputs untouched";

  EXPECT_FALSE(empty.PointAtLength(0.0f, 0.0f, &point, &direction));
  EXPECT_EQ(point, V(0, 0, 0));
  EXPECT_EQ(direction, V(1, 0, 0));
  EXPECT_TRUE(single.PointAtLength(5.0f, 1.0f, &point, &direction));
  EXPECT_EQ(point, V(2, 3, 0));
  EXPECT_EQ(direction, single.Samples()[0].tangent);

  CurveCursor cursor = single.Cursor();
  point = V(9, 9, 9);
  EXPECT_FALSE(cursor.Advance(1.0f, &point, &direction));
  EXPECT_EQ(point, V(9, 9, 9));
}

TEST(CurveQueries, PointAtLengthOutsideTheCurve) {
  const PolylineCurve curve({{0, 0, 1}, {2, 0, 1}, {2, 2, 1}});
  V point, direction;
  EXPECT_FALSE(curve.PointAtLength(-0.5f, 0.0f, &point, &direction));
  EXPECT_EQ(point, V(0, 0, 0));
  EXPECT_EQ(direction, V(1, 0, 0));

  EXPECT_FALSE(curve.PointAtLength(curve.TotalLength() + 1.0f, 0.0f, &point, &direction));
  EXPECT_EQ(point, V(2, 2, 0)) << "the last position with z = 0";
  EXPECT_EQ(direction, V(0, 2, 0)) << "the last segment's chord";

  EXPECT_FALSE(curve.DirectionAtLength(-1.0f, &direction));
  EXPECT_TRUE(curve.DirectionAtLength(99.0f, &direction));
  EXPECT_EQ(direction, V(0, 1, 0));
  EXPECT_TRUE(curve.DirectionAtLength(1.0f, &direction));
  EXPECT_EQ(direction, V(1, 0, 0));
}

// A positive offset lies to the right of the way along the curve: y = -d on a +x line.
TEST(CurveQueries, OffsetsLieToTheRight) {
  const PolylineCurve line({{0, 0, 0}, {4, 0, 0}, {10, 0, 0}});
  V point, direction;
  for (float d : {0.5f, -2.0f}) {
    for (float length : {0.0f, 3.0f, 7.0f, line.TotalLength()}) {
      EXPECT_TRUE(line.PointAtLength(length, d, &point, &direction));
      ExpectNear(point, V(length, -d, 0));
    }
  }
}

TEST(CurveCursor, AdvanceWithinAndPastTheEnd) {
  const PolylineCurve curve({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  CurveCursor cursor = curve.Cursor();
  V point, direction;
  EXPECT_TRUE(cursor.Advance(1.0f, &point, &direction));
  EXPECT_EQ(cursor.segment, 0) << "exactly the first segment's length stays in it";
  EXPECT_EQ(point, curve.Samples()[1].position);
  EXPECT_EQ(direction, curve.Samples()[1].tangent);

  EXPECT_TRUE(cursor.Advance(0.5f, &point, &direction));
  EXPECT_EQ(cursor.segment, 1);
  ExpectNear(point, V(1, 0.5f, 0));

  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(cursor.Advance(0.75f, &point, &direction));
    EXPECT_EQ(point, V(1, 1, 0));
    EXPECT_EQ(direction, curve.Samples()[2].tangent);
  }
}

// A joint belongs to the segment that ends there, and a tie of distances to the earlier one.
TEST(CurveQueries, EarlierSegmentWinsAtAJoint) {
  const PolylineCurve curve({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  V closest, tangent;
  ASSERT_TRUE(curve.ClosestPoint({2, -1, 0}, &closest, &tangent));
  EXPECT_EQ(closest, V(1, 0, 0));
  EXPECT_EQ(tangent, V(1, 0, 0)) << "segment 0";
  ASSERT_TRUE(curve.ClosestPoint({0.5f, 0.25f, 0}, &closest, nullptr));
  EXPECT_EQ(closest, V(0.5f, 0, 0));

  CurveCursor cursor = curve.Cursor();
  V point, direction;
  EXPECT_TRUE(cursor.SeekLength(1.0f, 0.0f, &point, &direction));
  EXPECT_EQ(cursor.segment, 0);
  EXPECT_EQ(point, V(1, 0, 0));
  EXPECT_EQ(direction, V(1, 0, 0));
}

// Random polylines: k small steps land where one jump by their sum lands, with and without an
// offset, and a jump never answers a point off the curve's length range.
TEST(CurveCursor, SmallStepsEqualOneSeek) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
  std::uniform_real_distribution<float> stepSize(0.0f, 0.4f);
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<V> points;
    const int n = 2 + trial % 7;
    for (int i = 0; i < n; ++i)
      points.emplace_back(coordinate(random), coordinate(random), 0.0f);
    const PolylineCurve curve(points);
    const float offset = trial % 2 == 0 ? 0.0f : 0.75f;

    CurveCursor stepping = curve.Cursor();
    float travelled = 0.0f;
    V stepped, direction;
    bool inside = true;
    while (inside) {
      const float step = stepSize(random);
      inside = offset == 0.0f ? stepping.Advance(step, &stepped, &direction)
                              : stepping.AdvanceOffset(step, offset, &stepped, &direction);
      travelled += step;
      CurveCursor jumping = curve.Cursor();
      V jumped;
      EXPECT_EQ(jumping.SeekLength(travelled, offset, &jumped, nullptr), inside);
      ExpectNear(stepped, jumped, 2e-3f);
      if (inside) EXPECT_EQ(jumping.segment, stepping.segment);
    }
    EXPECT_GE(travelled, curve.TotalLength() * 0.999f);
  }
}

// Segments of zero length give finite points and zero tangents, never NaN.
TEST(CurveQueries, ZeroLengthSegments) {
  const PolylineCurve curve({{1, 1, 0}, {1, 1, 0}, {3, 1, 0}, {3, 1, 0}});
  V point, direction;
  CurveCursor cursor = curve.Cursor();
  EXPECT_TRUE(cursor.Advance(0.0f, &point, &direction));
  EXPECT_TRUE(Finite(point) && Finite(direction));
  EXPECT_TRUE(cursor.AdvanceOffset(1.0f, 0.5f, &point, &direction));
  EXPECT_TRUE(Finite(point) && Finite(direction));
  EXPECT_FLOAT_EQ(point.x, 2.0f);
  EXPECT_FALSE(cursor.Advance(5.0f, &point, &direction));
  EXPECT_EQ(point, V(3, 1, 0));
  EXPECT_TRUE(Finite(direction));

  const PolylineCurve dot({{2, 2, 0}, {2, 2, 0}});
  V closest, tangent;
  ASSERT_TRUE(dot.ClosestPoint({5, 5, 0}, &closest, &tangent));
  EXPECT_EQ(closest, V(2, 2, 0));
  EXPECT_EQ(tangent, V(0, 0, 0));
  EXPECT_TRUE(dot.PointAtLength(0.0f, 1.0f, &point, &direction));
  EXPECT_TRUE(Finite(point) && Finite(direction));
  EXPECT_TRUE(dot.DirectionAtLength(0.0f, &direction));
  EXPECT_EQ(direction, V(0, 0, 0));
}

// A cursor re-reads the list after a rebuild and parks at the end of a shorter one.
TEST(CurveCursor, SurvivesARebuild) {
  PolylineCurve curve({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  CurveCursor cursor = curve.Cursor();
  V point, direction;
  EXPECT_TRUE(cursor.Advance(2.5f, &point, &direction));
  EXPECT_EQ(cursor.segment, 2);
  curve.SetPoints({{0, 0, 0}, {0, 5, 0}});
  curve.Rebuild();
  EXPECT_FALSE(cursor.Advance(0.1f, &point, &direction));
  EXPECT_EQ(point, V(0, 5, 0));
  EXPECT_EQ(cursor.segment, 0);
}

}  // namespace
