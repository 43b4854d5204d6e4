#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "geometry/offset/offset_fixtures.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;
constexpr float kH = 0.70710678f;

std::vector<V> Offsets(const ZKW_StraightSkeletonOffset& s, bool left, int point, float d) {
  std::vector<V> out;
  s.OffsetPoints(left, point, d, &out);
  return out;
}

struct OffsetCase {
  const char* name;
  std::vector<V> line;
  bool left;
  int point;
  float distance;
  std::vector<V> expected;
};

TEST(StraightSkeleton, OffsetPointsOfSimpleLines) {
  const std::vector<V> straight{{0, 0, 0}, {10, 0, 0}};
  const std::vector<V> leftTurn{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
  const std::vector<OffsetCase> cases = {
      {"start, left", straight, true, 0, 2, {{0, 2, 0}}},
      {"end, right", straight, false, 1, 2, {{10, -2, 0}}},
      {"start, right", straight, false, 0, 2, {{0, -2, 0}}},
      {"inner corner on the bisector", leftTurn, true, 1, 1, {{9, 1, 0}}},
      {"outer corner with its fan",
       leftTurn,
       false,
       1,
       1,
       {{10, -1, 0}, {10 + kH, -kH, 0}, {11, 0, 0}}},
      {"end after the turn, left", leftTurn, true, 2, 1, {{9, 10, 0}}},
      {"end after the turn, right", leftTurn, false, 2, 1, {{11, 10, 0}}},
      {"outside the list", leftTurn, false, 3, 1, {}},
  };
  for (const OffsetCase& c : cases) {
    SCOPED_TRACE(c.name);
    ZKW_StraightSkeletonOffset s;
    SetCentreLine(s, c.line);
    s.Build(5.0f);
    const std::vector<V> got = Offsets(s, c.left, c.point, c.distance);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i)
      ExpectNear(got[i], c.expected[i]);
  }
}

TEST(StraightSkeleton, VerticesOfARightAngle) {
  ZKW_StraightSkeletonOffset s;
  SetCentreLine(s, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  s.Build(1.0f);
  // Left: one vertex per point, the corner's along the bisector at speed sqrt 2.
  ASSERT_EQ(s.LeftVertices().size(), 3u);
  const ZKW_SkeletonEdge& inner = *s.LeftVertices()[1];
  EXPECT_TRUE(inner.bisector);
  EXPECT_NEAR(inner.direction.x, -kH, 1e-6f);
  EXPECT_NEAR(inner.direction.y, kH, 1e-6f);
  EXPECT_NEAR(inner.speed, std::sqrt(2.0f), 1e-5f);
  // Right: the corner has its two side vertices and one fan vertex.
  EXPECT_EQ(s.RightVertices().size(), 5u);
  // Nothing meets within the build distance.
  for (const auto& v : s.LeftVertices())
    EXPECT_EQ(v->end, std::numeric_limits<float>::max());
}

TEST(StraightSkeleton, FewerThanTwoPointsMakeNoVertices) {
  ZKW_StraightSkeletonOffset s;
  SetCentreLine(s, {{3, 4, 0}});
  s.Build(2.0f);
  EXPECT_TRUE(s.LeftVertices().empty());
  EXPECT_TRUE(s.RightVertices().empty());
  EXPECT_TRUE(Offsets(s, true, 0, 1.0f).empty());
}

// Two left turns of 45 degrees around a segment shorter than the build distance: the two inner
// vertices meet at distance 1 + sqrt(1/2), and the merged vertex carries on along the bisector of
// the outer segments, to (11 - d, d).
TEST(StraightSkeleton, InnerVerticesMergeAndTheMergedVertexCarriesOn) {
  ZKW_StraightSkeletonOffset s;
  SetCentreLine(s, {{0, 0, 0}, {10, 0, 0}, {11, 1, 0}, {11, 11, 0}});
  s.Build(3.0f);
  const float meet = 1.0f + kH;
  const ZKW_SkeletonEdge& q = *s.LeftVertices()[1];
  const ZKW_SkeletonEdge& n = *s.LeftVertices()[2];
  EXPECT_NEAR(q.end, meet, 1e-4f);
  EXPECT_NEAR(n.end, meet, 1e-4f);
  ASSERT_TRUE(q.next);
  EXPECT_EQ(q.next.Get(), n.next.Get());
  EXPECT_EQ(q.next.Count(), 2);
  ExpectNear({q.next->origin.x, q.next->origin.y, 0}, {11 - meet, meet, 0}, 1e-4f);

  // Before the meeting each follows its own bisector; after it both follow the merged vertex.
  const float speed = 1.0f / std::cos(std::acos(-1.0f) / 8);
  ExpectNear(Offsets(s, true, 1, 1.0f)[0], {10 - 0.41421356f, 1, 0}, 1e-4f);
  EXPECT_NEAR(s.LeftVertices()[1]->speed, speed, 1e-5f);
  for (int point : {1, 2}) {
    ExpectNear(Offsets(s, true, point, 3.0f)[0], {8, 3, 0}, 1e-4f);
    // Beyond the build distance the merged vertex still answers.
    ExpectNear(Offsets(s, true, point, 4.0f)[0], {7, 4, 0}, 1e-4f);
  }
}

// The distance from p to the polyline, and on which side of the nearest segment it lies (+1
// left, -1 right).
struct Nearest {
  float distance;
  int side;
};

Nearest NearestOnLine(const std::vector<V>& line, const V& p) {
  Nearest best{std::numeric_limits<float>::max(), 0};
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    const V a = line[i], b = line[i + 1];
    const V ab = b - a;
    float t = ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / (ab.x * ab.x + ab.y * ab.y);
    t = std::fmin(1.0f, std::fmax(0.0f, t));
    const V foot = a + ab * t;
    const float d = std::hypot(p.x - foot.x, p.y - foot.y);
    if (d < best.distance) {
      const float cross = ab.x * (p.y - foot.y) - ab.y * (p.x - foot.x);
      best = {d, cross > 0 ? 1 : -1};
    }
  }
  return best;
}

// Random polylines heading within 45 degrees of +x (so no part comes near another) with segments
// longer than three times the distance: no vertices meet, and every offset point lies at the
// distance from the centre line, on the side asked for.
TEST(StraightSkeleton, OffsetPointsLieAtTheDistanceOnTheirSide) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> heading(-0.78f, 0.78f);
  for (int round = 0; round < 40; ++round) {
    const float d = 0.5f + 4.0f * (round % 5);
    std::uniform_real_distribution<float> length(3.2f * d, 6.0f * d);
    std::vector<V> line{{-20, 5, 0}};
    const int count = 2 + round % 9;
    for (int i = 1; i < count; ++i) {
      const float a = heading(random), l = length(random);
      line.push_back(line.back() + V(l * std::cos(a), l * std::sin(a), 0));
    }
    ZKW_StraightSkeletonOffset s;
    SetCentreLine(s, line);
    s.Build(d);
    for (int point = 0; point < count; ++point) {
      for (bool left : {true, false}) {
        for (const V& p : Offsets(s, left, point, d)) {
          const Nearest nearest = NearestOnLine(line, p);
          EXPECT_NEAR(nearest.distance, d, 1e-3f * d) << "round " << round << " point " << point;
          EXPECT_EQ(nearest.side, left ? 1 : -1) << "round " << round << " point " << point;
        }
      }
    }
  }
}

TEST(StraightSkeleton, ZeroLengthSegmentsAndUnusableNumbersDoNotFail) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  ZKW_StraightSkeletonOffset s;
  SetCentreLine(s, {{0, 0, 0}, {0, 0, 0}, {5, 0, 0}, {nan, 1, 0}, {inf, -inf, 0}, {5, 5, 0}});
  for (float d : {1.0f, nan, inf, -1.0f}) {
    s.Build(d);
    for (int point = 0; point < 6; ++point)
      EXPECT_FALSE(Offsets(s, true, point, 1.0f).empty());
  }
  // A repeated point straight on: one vertex per side at the point.
  SetCentreLine(s, {{0, 0, 0}, {0, 0, 0}, {5, 0, 0}});
  s.Build(2.0f);
  ExpectNear(Offsets(s, true, 1, 2.0f)[0], {0, 2, 0});
  ExpectNear(Offsets(s, false, 1, 2.0f)[0], {0, -2, 0});
}

}  // namespace
