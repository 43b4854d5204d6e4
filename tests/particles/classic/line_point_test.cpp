#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "particles/classic/lines/line_point.h"
#include "platform/math/d3dx_math.h"

namespace {

LinePoint At(float x, float y, const D3DXVECTOR3& direction) {
  LinePoint p;
  p.position = {x, y, 0.0f};
  p.direction = direction;
  return p;
}

float HalfWidth(const LinePoint& p) {
  const D3DXVECTOR3 d = p.left - p.position;
  return D3DXVec3Length(&d);
}

TEST(LinePointTest, AJoinKeepsTheStripsWidthAcrossTheIncomingSegment) {
  const float kPi = 3.1415927f;
  struct Case {
    float degrees;  // between the segment (along +x) and the point's direction
    float half;     // the half width of a strip 20 wide
  } cases[] = {{0, 10}, {60, 20}, {-60, 20}, {45, 10 * std::sqrt(2.0f)}, {90, 10}, {-90, 10}};
  for (const Case& c : cases) {
    const LinePoint a = At(0, 0, {1, 0, 0});
    const float r = c.degrees * kPi / 180;
    LinePoint b = At(10, 0, {std::cos(r), std::sin(r), 0});
    DX_V::PCT quad[4];
    BuildJoinQuad(quad, a, 20, b);
    EXPECT_NEAR(HalfWidth(b), c.half, 1e-3) << c.degrees << " degrees";
    EXPECT_TRUE(std::isfinite(quad[0].x) && std::isfinite(quad[0].y)) << c.degrees << " degrees";
    EXPECT_EQ(b.edgesSet, 1.0f);
  }
}

TEST(LinePointTest, TheQuadRunsFromTheEarlierPointsEdgesToTheLatersEdges) {
  LinePoint a = At(0, 0, {1, 0, 0});
  a.SetEdges(a.direction, 2);
  a.v = 0.5f;
  a.colour = {1, 0, 0, 1};
  LinePoint b = At(10, 0, {1, 0, 0});
  b.v = 0.25f;
  b.colour = {0, 0, 1, 0.5f};
  DX_V::PCT quad[4];
  BuildSquareQuad(quad, a, 6, b);
  // Left is (-t.y, t.x): +y for a line along +x.
  const float expected[4][5] = {
      {10, 3, 1, 0.25f, 0}, {0, 2, 1, 0.5f, 1}, {10, -3, 0, 0.25f, 0}, {0, -2, 0, 0.5f, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(quad[i].x, expected[i][0]) << i;
    EXPECT_EQ(quad[i].y, expected[i][1]) << i;
    EXPECT_EQ(quad[i].u, expected[i][2]) << i;
    EXPECT_EQ(quad[i].v, expected[i][3]) << i;
    EXPECT_EQ(quad[i].diffuse, expected[i][4] != 0 ? 0xFFFF0000u : 0x800000FFu) << i;
  }
}

TEST(LinePointTest, ASegmentQuadTurnsTheLaterPointToTheSegment) {
  const LinePoint a = At(0, 0, {1, 0, 0});
  LinePoint b = At(0, 10, {1, 0, 0});
  DX_V::PCT quad[4];
  BuildSegmentQuad(quad, a, 4, b);
  EXPECT_EQ(b.direction, D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(b.left, D3DXVECTOR3(-2, 10, 0));
  EXPECT_EQ(b.right, D3DXVECTOR3(2, 10, 0));
}

TEST(LinePointTest, APointOnThePreviousOneGivesADegenerateQuad) {
  LinePoint a = At(5, 5, {0, 1, 0});
  a.SetEdges(a.direction, 3);
  a.v = 0.7f;
  for (auto build : {&BuildJoinQuad, &BuildSegmentQuad}) {
    LinePoint b = At(5, 5, {1, 0, 0});
    b.v = 0.1f;
    DX_V::PCT quad[4];
    build(quad, a, 8, b);
    EXPECT_EQ(b.left, a.left);
    EXPECT_EQ(b.v, a.v);
    EXPECT_EQ(quad[0].x, quad[1].x);
    EXPECT_EQ(quad[2].y, quad[3].y);
  }
}

TEST(LinePointTest, ChannelsPackRoundedAndSaturated) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float c;
    uint32_t byte;
  } cases[] = {{0.5f, 128}, {1.0f, 255}, {3.0f, 255}, {0.0f, 0}, {-1.0f, 0}, {nan, 0}, {0.2f, 51}};
  for (const Case& c : cases)
    EXPECT_EQ(LineChannelByte(c.c), c.byte) << c.c;
  EXPECT_EQ(LineColourWord({0.5f, 0.0f, 1.0f, 0.5f}), 0x808000FFu);
}

}  // namespace
