#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "geometry/offset/offset_fixtures.h"
#include "geometry/offset/zkw_onion_offseter.h"
#include "geometry/offset/zkw_stripe_tracer.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

std::vector<V> Vertices(const DS_SafePtr<ZKW_StripeTracer>& tracer,
                        bool (ZKW_StripeTracer::*next)(unsigned*, V*) const) {
  std::vector<V> out;
  unsigned state = 0;
  V p;
  while (((*tracer).*next)(&state, &p))
    out.push_back(p);
  return out;
}

std::unique_ptr<ZKW_OnionOffseter> Built(const std::vector<V>& line, float distance) {
  auto onion = std::make_unique<ZKW_OnionOffseter>();
  SetCentreLine(*onion, line);
  onion->Build(distance);
  return onion;
}

TEST(OnionOffset, StraightLineRingsAndTrace) {
  const auto onion = Built({{0, 0, 0}, {10, 0, 0}}, 2.0f);
  ASSERT_EQ(onion->RightRings().size(), 2u);
  EXPECT_EQ(onion->RightRings()[0].remaining, 2.0f);
  EXPECT_EQ(onion->RightRings()[1].remaining, 0.0f);
  EXPECT_EQ(onion->ZeroLineLength(), 10.0f);
  const DS_SafePtr<ZKW_StripeTracer> tracer = onion->CreateTracer();
  EXPECT_EQ(Vertices(tracer, &ZKW_StripeTracer::NextOuterRight),
            (std::vector<V>{{0, -2, 0}, {10, -2, 0}}));
  EXPECT_EQ(Vertices(tracer, &ZKW_StripeTracer::NextOuterLeft),
            (std::vector<V>{{10, 2, 0}, {0, 2, 0}}));

  struct Case {
    float length, offset;
    bool ok;
    V point, direction;
  };
  const Case cases[] = {
      {5, 1, true, {5, -1, 0}, {0, 1, 0}},  // right, between the centre line and the outer ring
      {5, -1, true, {5, 1, 0}, {0, 1, 0}},  // left rings at the mirrored length
      {5, 0, true, {5, 0, 0}, {0, 1, 0}},   // the centre line
      {2.5f, 2, true, {2.5f, -2, 0}, {0, 1, 0}},
      {5, 2.5f, false, {}, {}},  // beyond the build distance
      {5, -2.5f, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << ", " << c.offset);
    V point(9, 9, 9), direction(9, 9, 9);
    ASSERT_EQ(tracer->Trace(c.length, c.offset, &point, &direction), c.ok);
    if (!c.ok) continue;
    ExpectNear(point, c.point);
    ExpectNear(direction, c.direction);
  }
}

TEST(OnionOffset, CentreLineDropsStraightAndShortPoints) {
  // The collinear (10, 0) is dropped; the last segment is kept although it goes straight on.
  const auto straight = Built({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {15, 0, 0}}, 1.0f);
  const std::vector<OnionRingNode>& nodes = straight->RightRings()[0].nodes;
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0].start, D3DXVECTOR2(0, 0));
  EXPECT_EQ(nodes[0].length, 5.0f);
  EXPECT_EQ(nodes[1].start, D3DXVECTOR2(5, 0));
  EXPECT_EQ(nodes[1].length, 10.0f);
  EXPECT_EQ(nodes[1].cumulative, 15.0f);

  // (5.5, 0.5) lies within 1.0 of (5, 0): dropped, the next segment starts at (5, 0).
  const auto close = Built({{0, 0, 0}, {5, 0, 0}, {5.5f, 0.5f, 0}, {5, 5, 0}}, 1.0f);
  const std::vector<OnionRingNode>& kept = close->RightRings()[0].nodes;
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[1].start, D3DXVECTOR2(5, 0));
  EXPECT_EQ(kept[1].direction, D3DXVECTOR2(0, 1));
  EXPECT_GT(kept[1].turn, 0.0f);

  // Every point within 1.0 of the first: a centre line without nodes.
  const auto tiny = Built({{0, 0, 0}, {0.5f, 0, 0}, {0.2f, 0.6f, 0}}, 1.0f);
  EXPECT_EQ(tiny->ZeroLineLength(), 0.0f);
  const DS_SafePtr<ZKW_StripeTracer> tracer = tiny->CreateTracer();
  V p;
  unsigned state = 0;
  EXPECT_FALSE(tracer->Next(&state, &p));
  EXPECT_FALSE(tracer->Trace(0.0f, 0.0f, &p, nullptr));
}

TEST(OnionOffset, NextYieldsTheStartsAndTheLastEnd) {
  const auto onion = Built({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 1.0f);
  const DS_SafePtr<ZKW_StripeTracer> tracer = onion->CreateTracer();
  EXPECT_EQ(Vertices(tracer, &ZKW_StripeTracer::Next),
            (std::vector<V>{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}));
  unsigned state = 2;
  V p;
  EXPECT_TRUE(tracer->Next(&state, &p)) << "state = node count: the end of the last node";
  EXPECT_EQ(p, V(10, 10, 0));
  EXPECT_FALSE(tracer->Next(&state, &p));

  ZKW_OnionOffseter unbuilt;
  state = 0;
  EXPECT_FALSE(unbuilt.CreateTracer()->Next(&state, &p));
  EXPECT_FALSE(unbuilt.CreateTracer()->NextOuterLeft(&state, &p));
  EXPECT_EQ(unbuilt.ZeroLineLength(), 0.0f);
}

// A kept straight-on last segment offsets as a straight line: its joint moves sideways like the
// rest, and the offset ring keeps its whole length.
TEST(OnionOffset, StraightOnJointOffsetsSideways) {
  const auto onion = Built({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {15, 0, 0}}, 2.0f);
  const DS_SafePtr<ZKW_StripeTracer> tracer = onion->CreateTracer();
  EXPECT_EQ(Vertices(tracer, &ZKW_StripeTracer::NextOuterRight),
            (std::vector<V>{{0, -2, 0}, {5, -2, 0}, {15, -2, 0}}));
  V p;
  for (float length : {2.0f, 7.5f, 15.0f}) {
    ASSERT_TRUE(tracer->Trace(length, 2.0f, &p, nullptr));
    ExpectNear(p, {length, -2, 0});
    ASSERT_TRUE(tracer->Trace(length, -1.0f, &p, nullptr));
    ExpectNear(p, {length, 1, 0});
  }
}

// A step down: a right turn (inner corner on the right) and a left turn. The first layer ends at
// offset 3, where the inner corner's vertex meets the vertex after it at (17, -3), which is
// dropped; the next layer uses up the rest.
TEST(OnionOffset, LayersEndWhereNeighboursMeet) {
  const auto onion = Built({{0, 0, 0}, {20, 0, 0}, {20, -3, 0}, {40, -3, 0}}, 5.0f);
  const std::vector<OnionRing>& rings = onion->RightRings();
  ASSERT_EQ(rings.size(), 3u);
  EXPECT_FLOAT_EQ(rings[1].remaining, 2.0f);
  EXPECT_EQ(rings[2].remaining, 0.0f);
  ASSERT_FALSE(rings[1].nodes.empty());
  ExpectNear({rings[1].nodes[0].start.x, rings[1].nodes[0].start.y, 0}, {0, -3, 0});
  EXPECT_NEAR(rings[1].nodes[0].length, 17.0f, 1e-4f);
  // At the full distance the band's ends lie 5 below the centre line's ends.
  const DS_SafePtr<ZKW_StripeTracer> tracer = onion->CreateTracer();
  V p;
  ASSERT_TRUE(tracer->Trace(0.0f, 5.0f, &p, nullptr));
  ExpectNear(p, {0, -5, 0}, 1e-4f);
  ASSERT_TRUE(tracer->Trace(onion->ZeroLineLength(), 5.0f, &p, nullptr));
  ExpectNear(p, {40, -8, 0}, 1e-4f);
}

TEST(OnionOffset, LongZigZagWithALargeDistanceEnds) {
  std::vector<V> line;
  for (int i = 0; i < 400; ++i)
    line.push_back({i * 1.5f, (i % 2) * 1.5f, 0});
  const auto onion = Built(line, 1000.0f);
  EXPECT_GT(onion->ZeroLineLength(), 0.0f);
  for (const std::vector<OnionRing>* rings : {&onion->RightRings(), &onion->LeftRings()}) {
    ASSERT_FALSE(rings->empty());
    for (size_t k = 1; k < rings->size(); ++k)
      EXPECT_LE((*rings)[k].remaining, (*rings)[k - 1].remaining);
  }
}

// A centre line folding over itself at a huge scale (found by fuzzing): from some layer on, each
// layer drops a fan vertex that the next one makes again, and the same meeting comes back every
// 165,000 units of a distance of 3.6e12. The rings stop at the bound instead.
TEST(OnionOffset, RepeatingLayersStopAtTheBound) {
  const std::vector<V> line = {
      {0x1.1p-139f, 0x1.a8008p+41f, 0},      {0x1.a8a8a8p+41f, 0x1.a8a8a8p+41f, 0},
      {0x1.00a8a8p+41f, 0x1.38a8a8p+1f, 0},  {0x1.8p+1f, 0x1p+2f, 0},
      {0x1p+2f, 0x1.a8a8a8p+41f, 0},         {0x1.a8a8a8p+41f, 0x1.a8a8a8p+41f, 0},
      {0x1.51515p-127f, 0x1.08p-135f, 0},    {0x1.00814p+59f, 0x1p+1f, 0},
      {0x1.1p-131f, 0x1.008p+41f, 0},        {0x1.a8a8a8p+41f, 0x1.a8a8a8p+41f, 0},
      {0x1.51515p-127f, 0x1.a8a8a8p-71f, 0}, {0x1.00008p+1f, -0x1p-143f, 0},
      {-0x1p-143f, 0x1.a8a88p+41f, 0},       {0x1.a8a8a8p+41f, 0x1.a8a8a8p+41f, 0},
      {0x1.a8a8fp+41f, 0x1.254p-137f, 0},    {0x0p+0f, 0x1.254p-137f, 0}};
  const auto onion = Built(line, 0x1.a8a8a8p+41f);
  const std::vector<OnionRing>& rings = onion->RightRings();
  ASSERT_EQ(rings[0].nodes.size(), 15u);
  EXPECT_EQ(rings.size(), ZKW_OnionOffseter::MaxLayers(rings[0]));
  EXPECT_GT(rings.back().remaining, 0.0f) << "the distance is not used up";
  for (size_t k = 1; k < rings.size(); ++k)
    EXPECT_LT(rings[k].remaining, rings[k - 1].remaining);
}

// A tangled centre line (found by fuzzing) far out, where floats are 2^46 apart, offset by
// millions of times its size: each layer splits the fanned corners again, so that the rings grow,
// and the layering stops at the node bound.
TEST(OnionOffset, GrowingRingsStopAtTheNodeBound) {
  const int xs[] = {0, 2, 2, 1, -1, 0,  0,  2, -2, -2, 0, 1, 3,  0,  -1, 0,  1,  -2, -1, 1,  1, -1,
                    1, 2, 2, 0, 1,  -1, -2, 0, 0,  -1, 2, 1, 1,  -1, 0,  -2, -2, 0,  0,  -1, 1, 0,
                    1, 0, 1, 0, 1,  0,  0,  1, 0,  -1, 0, 0, -1, 1,  0,  0,  -1, 0,  0,  1,  1, 0};
  const int ys[] = {0,   2,   0,   -1,  -2,  -2,  -3,  -2,  -6,  -7,  -5,  -7,  -5,  -6,
                    -8,  -8,  -7,  -11, -10, -9,  -11, -11, -10, -10, -9,  -11, -13, -15,
                    -14, -15, -16, -16, -14, -16, -15, -18, -19, -20, -21, -21, -20, -21,
                    -21, -22, -22, -24, -24, -26, -26, -27, -28, -29, -30, -32, -32, -33,
                    -34, -34, -35, -36, -37, -37, -38, -38, -39, -40};
  std::vector<V> line;
  for (size_t i = 0; i < std::size(xs); ++i)
    line.push_back({0x1.c4c4c4p+69f + 0x1p+46f * xs[i], 0x1.c4c4c4p+69f + 0x1p+46f * ys[i], 0});
  const auto onion = Built(line, 0x1p+69f);
  size_t most = 0;
  for (const std::vector<OnionRing>* rings : {&onion->RightRings(), &onion->LeftRings()}) {
    size_t nodes = 0;
    for (const OnionRing& ring : *rings)
      nodes += ring.nodes.size();
    EXPECT_LE(nodes, ZKW_OnionOffseter::kMaxRingNodes);
    most = std::max(most, nodes);
  }
  EXPECT_GT(most, ZKW_OnionOffseter::kMaxRingNodes / 2);
}

// A layer that uses up no distance and keeps every segment would be offset again and again: the
// layering stops there. Here the vertex after the inner corner at (0, 0) starts on that corner's
// path (they meet at once) and shares its point with the fan of the next corner.
TEST(OnionOffset, LayerWithoutProgressStops) {
  const float c = std::sqrt(0.5f);
  OnionRing ring;
  ring.remaining = 3.0f;
  ring.nodes = {
      {{-10, 0}, {1, 0}, 10, 10, 0}, {{0, 0}, {c, c}, 10, 20, -1}, {{-4, 4}, {-c, c}, 10, 30, 1}};
  const OnionRing before = ring;
  EXPECT_FALSE(ZKW_OnionOffseter::AdvanceLayer(ring));
  EXPECT_EQ(ring.remaining, before.remaining);
  EXPECT_EQ(ring.nodes.size(), before.nodes.size());
}

TEST(OnionOffset, UnusableNumbersEnd) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float d : {nan, inf, -inf, 0.0f, 3.0f}) {
    const auto onion = Built({{0, 0, 0}, {nan, 3, 0}, {10, 0, 0}, {inf, 1, 0}, {10, 10, 0}}, d);
    V p;
    onion->CreateTracer()->Trace(nan, nan, &p, &p);
    onion->CreateTracer()->Trace(5, 1, &p, &p);
    EXPECT_FALSE(onion->RightRings().empty());
  }
}

}  // namespace
