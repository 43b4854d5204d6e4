#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "geometry/offset/offset_fixtures.h"
#include "geometry/offset/zkw_loop_zerro_line.h"
#include "geometry/origin/origin_object_registry.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

TEST(LoopZeroLine, SquareLengthsWrapAroundThePerimeter) {
  ZKW_LoopZerroLine loop;
  SetCentreLine(loop, {{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}});
  EXPECT_EQ(loop.ZeroLineLength(), 40.0f);
  EXPECT_EQ(loop.Cumulative(), (std::vector<float>{0, 10, 20, 30, 40}));
  EXPECT_FALSE(loop.HasClosedOffsets(1.0f));
  const DS_SafePtr<ZKW_StripeTracer> tracer = loop.CreateTracer();

  struct Case {
    float length;
    V point, direction;
  };
  const Case cases[] = {
      {15, {10, 5, 0}, {1, 0, 0}},   // on the second segment, its right-hand normal
      {45, {5, 0, 0}, {0, -1, 0}},   // wrapped once
      {-5, {-5, 0, 0}, {0, -1, 0}},  // before point 0, along the first segment
      {35, {0, 5, 0}, {-1, 0, 0}},   // the closing segment
      {10, {10, 0, 0}, {0, -1, 0}},  // a joint belongs to the segment that ends there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    V point, direction;
    ASSERT_TRUE(tracer->Trace(c.length, 3.0f, &point, &direction));
    ExpectNear(point, c.point);
    ExpectNear(direction, c.direction);
  }
  V point(1, 1, 1);
  EXPECT_FALSE(tracer->Trace(std::numeric_limits<float>::quiet_NaN(), 0, &point, nullptr));
  EXPECT_EQ(point, V(0, 0, 0));
}

TEST(LoopZeroLine, NextClosesTheLoop) {
  ZKW_LoopZerroLine loop;
  SetCentreLine(loop, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
  const DS_SafePtr<ZKW_StripeTracer> tracer = loop.CreateTracer();
  std::vector<V> seen;
  unsigned state = 0;
  V p(0, 0, 7);
  while (tracer->Next(&state, &p))
    seen.push_back(p);
  EXPECT_EQ(seen, (std::vector<V>{{0, 0, 7}, {10, 0, 7}, {10, 10, 7}, {0, 10, 7}, {0, 0, 7}}))
      << "x and y only: z stays as the caller set it";
  EXPECT_FALSE(tracer->NextOuterRight(&state, &p));
  EXPECT_FALSE(tracer->NextOuterLeft(&state, &p));
}

// Without a length there is nothing to wrap around: no point, and no division by it.
TEST(LoopZeroLine, LoopsWithoutLength) {
  ZKW_LoopZerroLine unset;
  EXPECT_EQ(unset.ZeroLineLength(), 0.0f);
  V point(1, 1, 1), direction(1, 1, 1);
  EXPECT_FALSE(unset.CreateTracer()->Trace(3.0f, 0.0f, &point, &direction));
  EXPECT_EQ(point, V(0, 0, 0));
  unsigned state = 0;
  EXPECT_FALSE(unset.CreateTracer()->Next(&state, &point));

  ZKW_LoopZerroLine one;
  SetCentreLine(one, {{4, 5, 0}});
  EXPECT_EQ(one.Lengths(), std::vector<float>{0.0f});
  EXPECT_EQ(one.Directions()[0], D3DXVECTOR2(0, 0));
  EXPECT_EQ(one.ZeroLineLength(), 0.0f);
  point = {1, 1, 1};
  EXPECT_FALSE(one.CreateTracer()->Trace(0.0f, 0.0f, &point, &direction));
  EXPECT_EQ(point, V(0, 0, 0));
  state = 0;
  ASSERT_TRUE(one.CreateTracer()->Next(&state, &point));
  EXPECT_EQ(point.x, 4.0f);
  EXPECT_TRUE(one.CreateTracer()->Next(&state, &point));
  EXPECT_FALSE(one.CreateTracer()->Next(&state, &point));
}

TEST(OriginObjects, NoKindIsRegistered) {
  EXPECT_TRUE(GetOriginObjectRegistry().empty());
  EXPECT_FALSE(CreateOriginObjectByName(u"DS_PtclSys_Origin_UI_Rect"));
  EXPECT_FALSE(CreateOriginObjectByName(u""));
}

}  // namespace
