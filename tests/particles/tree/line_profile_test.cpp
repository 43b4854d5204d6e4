#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/crt_rand.h"
#include "geometry/graph/vgraph_line.h"
#include "particles/tree/line/line_profile.h"
#include "particles/tree/line/line_ribbon.h"
#include "platform/math/d3dx_math.h"

namespace {

std::vector<float> Xs(const std::vector<ProfilePoint>& points) {
  std::vector<float> xs;
  for (const ProfilePoint& p : points)
    xs.push_back(p.position.x);
  return xs;
}

std::vector<float> Distances(const std::vector<ProfilePoint>& points) {
  std::vector<float> d;
  for (const ProfilePoint& p : points)
    d.push_back(p.distance);
  return d;
}

DS_SafePtr<ZKW_VGraph> Envelope(std::vector<ZKW_VGraph_Line::Point> points) {
  return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(std::move(points)));
}

TEST(LineProfile, ADefaultSegmentIsTwoPointsAHundredApart) {
  LineProfile profile;
  profile.AppendSegment(ZKW_StraightWidehtLine());
  ASSERT_EQ(profile.points.size(), 2u);
  EXPECT_EQ(profile.totalLength, 100.0f);
  EXPECT_EQ(Xs(profile.points), (std::vector<float>{0, 100}));
  for (const ProfilePoint& p : profile.points) {
    EXPECT_EQ(p.width, 25.0f);
    EXPECT_EQ(p.opacity, 1.0f) << "a transparency of 0 % is opacity 1";
    EXPECT_EQ(p.sideA, D3DXVECTOR3(0, -1, 0));
    EXPECT_EQ(p.sideC, D3DXVECTOR3(0, 1, 0));
  }
  EXPECT_EQ(profile.points[1].s, 1.0f);
}

TEST(LineProfile, SegmentsFollowEachOther) {
  LineProfile profile;
  ZKW_StraightWidehtLine first, second;
  second.SetValue(50);
  second.opacity.value.SetValue(40);  // 40 % transparent
  profile.AppendSegment(first);
  profile.AppendSegment(second);
  EXPECT_EQ(Xs(profile.points), (std::vector<float>{0, 100, 100, 150}));
  EXPECT_EQ(Distances(profile.points), (std::vector<float>{0, 100, 100, 150}));
  EXPECT_EQ(profile.totalLength, 150.0f);
  EXPECT_FLOAT_EQ(profile.points[2].opacity, 0.6f);
  EXPECT_EQ(profile.points[2].s, 0.0f);
}

TEST(LineProfile, EnvelopeBreakpointsMergeInOrderAndDrawTheirSpreads) {
  ZKW_StraightWidehtLine segment;
  segment.SetValue(200);
  segment.width.value.SetValue(20);
  segment.width.spread.SetValue(50);    // sw = 0.5
  segment.opacity.spread.SetValue(20);  // so = 0.8
  segment.width.envelope.SetGraph(Envelope({{0, 1}, {0.25f, 0.5f}, {0.5f, 2}, {1, 1}}));
  segment.opacity.envelope.SetGraph(Envelope({{0, 0.5f}, {0.25f, 1}, {0.75f, 0}, {1, 1}}));

  crt_srand(11);
  LineProfile profile;
  profile.AppendSegment(segment);
  crt_srand(11);
  const float r1 = crt_rand_unit(), r2 = crt_rand_unit(), r3 = crt_rand_unit(),
              r4 = crt_rand_unit(), r5 = crt_rand_unit(), r6 = crt_rand_unit();
  const auto sw = [](float r) { return 0.5f + r * 0.5f; };
  const auto so = [](float r) { return 0.8f + r * 0.2f; };

  // Start; width 0.25; opacity 0.25 (after the width breakpoint at the same x); width 0.5;
  // opacity 0.75; end. Breakpoints at x = 1 are the end's.
  EXPECT_EQ(Xs(profile.points), (std::vector<float>{0, 50, 50, 100, 150, 200}));
  const std::vector<ProfilePoint>& p = profile.points;
  EXPECT_FLOAT_EQ(p[0].width, 20.0f);
  EXPECT_FLOAT_EQ(p[0].opacity, 0.5f);
  EXPECT_FLOAT_EQ(p[1].width, 10.0f);
  EXPECT_FLOAT_EQ(p[1].opacity, so(r1) * 1.0f);
  EXPECT_FLOAT_EQ(p[2].opacity, 1.0f);
  EXPECT_FLOAT_EQ(p[2].width, 20.0f * sw(r2) * 0.5f);
  EXPECT_FLOAT_EQ(p[3].width, 40.0f);
  EXPECT_FLOAT_EQ(p[3].opacity, so(r3) * 0.5f);
  EXPECT_FLOAT_EQ(p[4].opacity, 0.0f);
  EXPECT_FLOAT_EQ(p[4].width, 20.0f * sw(r4) * 1.5f);
  EXPECT_FLOAT_EQ(p[5].width, 20.0f * sw(r5));
  EXPECT_FLOAT_EQ(p[5].opacity, so(r6));
  EXPECT_FLOAT_EQ(p[3].s, 0.5f);
}

struct ClipCase {
  int mode;
  float sx;
  std::vector<float> xs;         // of the clipped points
  std::vector<float> distances;  // along the whole line
};

TEST(ClipProfile, WindowsFollowTheXScale) {
  LineProfile profile;
  profile.AppendSegment(ZKW_StraightWidehtLine());
  const ClipCase cases[] = {
      {0, 0.5f, {0, 100}, {0, 100}},  // scaled by the matrix instead
      {1, 0.5f, {0, 50}, {0, 50}},    // the first half
      {1, 1.5f, {50, 100}, {50, 100}},
      {1, 0.0f, {0, 0}, {0, 0}},  // zero length
      {1, 2.0f, {100, 100}, {100, 100}},
      {1, -1.0f, {}, {}},             // nothing
      {2, 0.5f, {0, 50}, {50, 100}},  // the second half, moved to the start
      {2, 1.5f, {50, 100}, {0, 50}},
      {2, 1.0f, {0, 100}, {0, 100}},
      {2, 0.0f, {0, 0}, {100, 100}},
      {2, 2.0f, {100, 100}, {0, 0}},
      {2, -1.0f, {}, {}},
      {7, 3.0f, {0, 100}, {0, 100}},  // other modes: the whole window, no shift
  };
  std::vector<ProfilePoint> out;
  for (const ClipCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " sx " << c.sx);
    ClipProfile(profile.points, profile.totalLength, c.mode, c.sx, out);
    EXPECT_EQ(Xs(out), c.xs);
    EXPECT_EQ(Distances(out), c.distances);
  }
}

TEST(ClipProfile, CutsInterpolateAcrossSegmentJoints) {
  LineProfile profile;
  ZKW_StraightWidehtLine first, second;
  second.SetValue(50);
  second.width.value.SetValue(5);
  profile.AppendSegment(first);
  profile.AppendSegment(second);
  std::vector<ProfilePoint> out;
  // The window [0, 125] ends halfway through the second segment.
  ClipProfile(profile.points, profile.totalLength, 1, 125.0f / 150.0f, out);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(Xs(out)[2], 100.0f);
  EXPECT_NEAR(out.back().position.x, 125.0f, 1e-3f);
  EXPECT_NEAR(out.back().distance, 125.0f, 1e-3f);
  EXPECT_FLOAT_EQ(out.back().width, 5.0f);
  EXPECT_EQ(out.back().s, 0.0f) << "the cut keeps the earlier point's s";
}

TEST(InterpolateProfilePoint, ASectionOfLengthZeroTakesTheLaterPoint) {
  ProfilePoint a, b;
  a.position = b.position = D3DXVECTOR3(100, 0, 0);
  a.width = 10;
  b.width = 30;
  a.distance = 100;
  b.distance = 100;
  const ProfilePoint p = InterpolateProfilePoint(a, b, 100);
  EXPECT_EQ(p.width, 30.0f);
  EXPECT_FALSE(std::isnan(p.opacity));
  b.position.x = 200;
  b.distance = 200;
  const ProfilePoint q = InterpolateProfilePoint(a, b, 150);
  EXPECT_EQ(q.width, 20.0f);
  EXPECT_EQ(q.distance, 150.0f);
}

TEST(LineRibbon, ThreeVerticesPerPointAndFourTrianglesPerCell) {
  LineProfile profile;
  profile.AppendSegment(ZKW_StraightWidehtLine());
  profile.points[1].opacity = 0.5f;
  std::vector<DX_V::PCT2> vertices(16);
  std::vector<uint16_t> indices(32);
  LineRibbonWriter writer(vertices, indices);
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, 10, 20, 0);
  ASSERT_TRUE(writer.Write(std::vector<ProfilePoint>{profile.points[0]}, m, {}, 1.0f));
  EXPECT_EQ(writer.VertexCount(), 0u) << "one point makes no ribbon";
  ASSERT_TRUE(writer.Write(profile.points, m, {1.0f, 0.5f, 0.0f, 1.0f}, 0.01f));
  EXPECT_EQ(writer.VertexCount(), 5u);
  EXPECT_EQ(writer.TriangleCount(), 4u);

  struct Want {
    float x, y, u, v;
    uint32_t colour;
  };
  // L0, R0, C1, L1, R1: edges at +-12.5 along y, the centre between the two points.
  const Want want[] = {{10, 32.5f, 0, 0, 0xFFFF7F00},
                       {10, 7.5f, 1, 0, 0xFFFF7F00},
                       {60, 20, 0.5f, 0.5f, 0xBFFF7F00},
                       {110, 32.5f, 0, 1, 0x7FFF7F00},
                       {110, 7.5f, 1, 1, 0x7FFF7F00}};
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(vertices[i].x, want[i].x);
    EXPECT_FLOAT_EQ(vertices[i].y, want[i].y);
    EXPECT_FLOAT_EQ(vertices[i].u, want[i].u);
    EXPECT_FLOAT_EQ(vertices[i].v, want[i].v);
    EXPECT_EQ(vertices[i].u1, vertices[i].u);
    EXPECT_EQ(vertices[i].diffuse, want[i].colour);
  }
  const std::vector<uint16_t> cell(indices.begin(), indices.begin() + 12);
  EXPECT_EQ(cell, (std::vector<uint16_t>{0, 3, 2, 0, 2, 1, 1, 2, 4, 2, 3, 4}));

  // A second ribbon counts on from the first one's vertices.
  ASSERT_TRUE(writer.Write(profile.points, m, {}, 0.0f));
  EXPECT_EQ(indices[12], 5u);
  EXPECT_EQ(indices[13], 8u);
}

TEST(LineRibbon, RibbonsStopBeforeIndicesPass65535) {
  // Two-point ribbons of five vertices: 13,107 of them fill 65,535 vertices, the next would pass.
  LineProfile profile;
  profile.AppendSegment(ZKW_StraightWidehtLine());
  std::vector<DX_V::PCT2> vertices(70000);
  std::vector<uint16_t> indices(14000 * 12);
  LineRibbonWriter writer(vertices, indices);
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  int written = 0;
  while (writer.Write(profile.points, m, {}, 0.0f))
    ++written;
  EXPECT_EQ(written, 13107);
  EXPECT_EQ(writer.VertexCount(), 65535u);
  EXPECT_EQ(writer.TriangleCount(), 13107u * 4);
  const uint16_t highest = *std::max_element(indices.begin(), indices.begin() + 13107 * 12);
  EXPECT_EQ(highest, 65534u) << "no index wrapped";
  EXPECT_FALSE(writer.Write(std::vector<ProfilePoint>(2), m, {}, 0.0f))
      << "nothing is added once a ribbon did not fit";

  // The buffers' own room stops them as well.
  std::vector<DX_V::PCT2> small(7);
  LineRibbonWriter tight(small, indices);
  EXPECT_TRUE(tight.Write(profile.points, m, {}, 0.0f));
  EXPECT_FALSE(tight.Write(profile.points, m, {}, 0.0f));
  EXPECT_EQ(tight.VertexCount(), 5u);
}

}  // namespace
