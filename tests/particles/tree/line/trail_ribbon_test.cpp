#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "particles/tree/line/trail_ribbon.h"

namespace {

ParticleHandle Point(float x, float y, float scale = 2.0f, float alpha = 1.0f) {
  ParticleHandle p(std::make_unique<ParticleRecord>(D3DXVECTOR3(x, y, 0)));
  p->floats[ParticleRecord::kScale] = scale;
  p->floats[ParticleRecord::kAlpha] = alpha;
  return p;
}

std::vector<ParticleHandle> Trail(std::initializer_list<std::array<float, 2>> at) {
  std::vector<ParticleHandle> points;
  for (const auto& xy : at)
    points.push_back(Point(xy[0], xy[1]));
  return points;
}

const D3DXVECTOR3 kNone(0, 0, 0), kDown(0, -1, 0), kRight(1, 0, 0);

TEST(TrailFrames, SidesArePerpendicularsAndAStopKeepsTheSide) {
  struct Case {
    const char* what;
    std::vector<ParticleHandle> points;
    std::vector<D3DXVECTOR3> sideA, sideB;
  };
  const Case cases[] = {
      {"one point", Trail({{0, 0}}), {}, {}},
      {"along x", Trail({{0, 0}, {3, 0}, {6, 0}}), {kDown, kDown, kDown}, {kDown, kDown, kDown}},
      {"a right-angle turn",
       Trail({{0, 0}, {4, 0}, {4, 4}}),
       {kDown, kDown, kRight},
       {kDown, kRight, kRight}},
      {"stopped: the zero segment repeats the side before it",
       Trail({{0, 0}, {0, 5}, {0, 5}}),
       {kRight, kRight, kRight},
       {kRight, kRight, kRight}},
      {"not yet moved: no side until a segment has a length",
       Trail({{2, 2}, {2, 2}, {5, 2}}),
       {kNone, kNone, kDown},
       {kNone, kDown, kDown}},
      {"never moved: the ribbon collapses to its centre",
       Trail({{1, 1}, {1, 1}}),
       {kNone, kNone},
       {kNone, kNone}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<ProfilePoint> frames = BuildTrailFrames(c.points);
    ASSERT_EQ(frames.size(), c.sideA.size());
    for (size_t i = 0; i < frames.size(); ++i) {
      EXPECT_EQ(frames[i].position, c.points[i]->WorldPosition()) << i;
      EXPECT_EQ(frames[i].sideA, c.sideA[i]) << i;
      EXPECT_EQ(frames[i].sideB, c.sideB[i]) << i;
      EXPECT_EQ(frames[i].sideC, -c.sideA[i]) << i;
    }
  }
}

TEST(TrailFrames, PositionsIncludeTheParentAndTheOffsets) {
  ParticleHandle parent = Point(10, 20);
  ParticleHandle child(std::make_unique<ParticleRecord>(D3DXVECTOR3(1, 2, 3), parent));
  child->flags |= ParticleRecord::kRelativeToParent;
  child->vectors[ParticleRecord::kDirection] = D3DXVECTOR3(0, 1, 0);
  child->floats[ParticleRecord::kAlong] = 2;   // along (0, 1): y + 2
  child->floats[ParticleRecord::kAcross] = 1;  // across: x - 1
  const std::vector<ParticleHandle> points = {child, Point(0, 0)};
  EXPECT_EQ(BuildTrailFrames(points)[0].position, D3DXVECTOR3(10, 24, 3));
}

TEST(TrailColour, RgbFromTheColourAlphaFromThePointAndItsParent) {
  ParticleHandle parent = Point(0, 0, 1.0f, 0.5f);
  ParticleHandle child(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0), parent));
  child->floats[ParticleRecord::kAlpha] = 0.5f;
  EXPECT_EQ(TrailVertexColour(0x0000FF, *child), 0x40FF0000u) << "0.25 of 255, rounded";
  child->floats[ParticleRecord::kAlpha] = 4.0f;
  EXPECT_EQ(TrailVertexColour(0x336699, *child), 0xFF996633u) << "alpha at most 1";
  child->floats[ParticleRecord::kAlpha] = -1.0f;
  EXPECT_EQ(TrailVertexColour(0xFFFFFF, *child), 0x00FFFFFFu);
}

TEST(BevelledTrail, FourVerticesPerPointAndFiveTrianglesPerSegment) {
  const std::vector<ParticleHandle> points = Trail({{0, 0}, {4, 0}, {4, 4}});
  points[1]->floats[ParticleRecord::kAlpha] = 0.0f;
  std::vector<DX_V::PCT2> v(BevelledTrailVertices(points.size()) + 1);
  std::vector<uint16_t> indices(3 * BevelledTrailTriangles(points.size()));
  ASSERT_EQ(v.size(), 13u);
  ASSERT_EQ(indices.size(), 30u);
  FillTrail(points, 0xFFFFFF, v.data() + 1, indices.data(), 1);

  // The turning point: side C up, the centre, side A down (incoming), side B right (outgoing);
  // half width 1.
  const DX_V::PCT2* turn = &v[1 + 4];
  const std::array<std::array<float, 3>, 4> expected = {
      {{4, 1, 0}, {4, 0, 0.5f}, {4, -1, 1}, {5, 0, 1}}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(turn[k].x, expected[k][0]) << k;
    EXPECT_EQ(turn[k].y, expected[k][1]) << k;
    EXPECT_EQ(turn[k].u, expected[k][2]) << k;
    EXPECT_EQ(turn[k].u1, turn[k].u) << k;
    EXPECT_EQ(turn[k].v, 0.0f) << k;
    EXPECT_EQ(turn[k].diffuse, 0x00FFFFFFu) << k;
  }
  EXPECT_EQ(v[1].diffuse, 0xFFFFFFFFu);
  const std::vector<uint16_t> first = {1, 5, 6, 1, 2, 6, 2, 6, 7, 2, 4, 7, 7, 6, 8};
  EXPECT_EQ(std::vector<uint16_t>(indices.begin(), indices.begin() + 15), first);
  EXPECT_EQ(indices[15], 5) << "the second segment starts 4 vertices on";
  EXPECT_EQ(indices[29], 12);

  EXPECT_EQ(BevelledTrailVertices(1), 0u);
  EXPECT_EQ(BevelledTrailTriangles(1), 0u);
}

TEST(BevelledTrail, TrailsStopWhereSixteenBitIndicesWouldWrap) {
  struct Case {
    std::vector<size_t> counts;
    uint32_t maxVertices;
    std::vector<size_t> fitted;
  };
  const Case cases[] = {
      {{3, 1, 0, 5}, 65535, {3, 0, 0, 5}},
      {{10, 10, 10}, 80, {10, 10, 0}},
      {{10, 10, 10}, 90, {10, 10, 2}},
      {{10, 10, 10}, 84, {10, 10, 0}} /* one point fits: no ribbon */,
      {{10, 1, 10, 3}, 60, {10, 0, 5, 0}} /* nothing after the cut trail */,
      {{20000}, 65535, {16383}},
  };
  for (const Case& c : cases) {
    const std::vector<size_t> fitted = FitBevelledTrails(c.counts, c.maxVertices);
    EXPECT_EQ(fitted, c.fitted) << c.maxVertices;
    uint64_t vertices = 0;
    for (const size_t n : fitted)
      vertices += BevelledTrailVertices(n);
    EXPECT_LE(vertices, c.maxVertices);
  }
}

}  // namespace
