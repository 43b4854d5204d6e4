#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "core/math/matrix_helpers.h"
#include "core/math/random_direction.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr double kPi = 3.14159265358979;
// The first two results of the C library generator seeded with 1.
constexpr double kFirstDraw = 41.0 / 32767.0;
constexpr double kSecondDraw = 18467.0 / 32767.0;

void ExpectNear(const D3DXVECTOR3& v, double x, double y, double z, const char* what) {
  EXPECT_NEAR(v.x, x, 1e-5) << what;
  EXPECT_NEAR(v.y, y, 1e-5) << what;
  EXPECT_NEAR(v.z, z, 1e-5) << what;
}

TEST(RandomDirection, TwoDimensionsDrawOneAngleFromTheRange) {
  D3DXVECTOR3 v;
  crt_srand(1);
  EXPECT_EQ(RandomDirection2D(&v, 2.0f, 45.0f, 45.0f), &v);
  ExpectNear(v, 2 * std::cos(kPi / 4), -2 * std::sin(kPi / 4), 0, "a = b: turned by -a");

  crt_srand(1);
  RandomDirection2D(&v, 3.0f, 10.0f, 100.0f);
  const double angle = (10.0 + kFirstDraw * 90.0) * kPi / 180.0;
  ExpectNear(v, 3 * std::cos(angle), -3 * std::sin(angle), 0, "first draw");
  EXPECT_EQ(crt_rand(), 18467) << "one draw";
}

TEST(RandomDirection, ThreeDimensionsTurnAboutZThenY) {
  D3DXVECTOR3 v;
  crt_srand(1);
  RandomDirection3D(&v, 1.0f, 30.0f, 30.0f);
  ExpectNear(v, std::cos(kPi / 6), -std::sin(kPi / 6), 0, "a = b: no tilt");

  crt_srand(1);
  RandomDirection3D(&v, 2.0f, 0.0f, 60.0f);
  const double z = (kFirstDraw * 60.0) * kPi / 180.0;
  const double y = (kSecondDraw * 60.0 - 30.0) * kPi / 180.0;
  // (2, 0, 0) turned about Z by -z, then about Y by +y (row vectors).
  ExpectNear(v, 2 * std::cos(z) * std::cos(y), -2 * std::sin(z), -2 * std::cos(z) * std::sin(y),
             "draws in order");
  EXPECT_EQ(crt_rand(), 6334) << "two draws";
}

TEST(MatrixHelpers, ScalingAboutAPivotKeepsThePivot) {
  D3DXMATRIX m;
  const D3DXVECTOR3 pivot(1, 2, 3);
  ScalingAboutPivot(&m, &pivot, 2, 3, 4);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &pivot, &m);
  ExpectNear(out, 1, 2, 3, "pivot");
  const D3DXVECTOR3 p(2, 3, 4);
  D3DXVec3TransformCoord(&out, &p, &m);
  ExpectNear(out, 3, 5, 7, "a point one unit off in every axis");
}

TEST(MatrixHelpers, RotationZBetweenVectors) {
  struct Case {
    const char* what;
    D3DXVECTOR3 p, q;
    float c, s;  // expected _11 = _22 = c, _21 = s, _12 = -s
  };
  const float h = std::sqrt(0.5f);
  const Case cases[] = {
      {"x to y", {1, 0, 0}, {0, 1, 0}, 0, 1},
      {"y to x: negative z", {0, 1, 0}, {1, 0, 0}, 0, -1},
      {"45 degrees", {1, 0, 0}, {h, h, 0}, h, h},
      {"cross product along -y: z is 0, sign positive", {1, 0, 0}, {0, 0, 1}, 0, 1},
      {"equal", {1, 0, 0}, {1, 0, 0}, 1, 0},
      {"opposite", {0, 1, 0}, {0, -1, 0}, 1, 0},
  };
  for (const Case& c : cases) {
    D3DXMATRIX m;
    m._33 = 7;  // overwritten: the result starts as the identity
    EXPECT_EQ(RotationZBetweenVectors(&m, c.p.x, c.p.y, c.p.z, c.q.x, c.q.y, c.q.z), &m);
    EXPECT_NEAR(m._11, c.c, 1e-6f) << c.what;
    EXPECT_NEAR(m._22, c.c, 1e-6f) << c.what;
    EXPECT_NEAR(m._21, c.s, 1e-6f) << c.what;
    EXPECT_NEAR(m._12, -c.s, 1e-6f) << c.what;
    EXPECT_EQ(m._33, 1.0f) << c.what;
    EXPECT_EQ(m._44, 1.0f) << c.what;
  }
}

TEST(MatrixHelpers, IntersectLines2D) {
  struct Case {
    const char* what;
    D3DXVECTOR3 p1, p2, p3, p4;
    bool meets;
    float x, y;
  };
  const Case cases[] = {
      {"perpendicular through the origin",
       {-1, 0, 0},
       {1, 0, 0},
       {0, -1, 0},
       {0, 1, 0},
       true,
       0,
       0},
      {"beyond the segments, z ignored",
       {0, 0, 5},
       {1, 1, 5},
       {0, 2, 0},
       {0.5f, 1.5f, 0},
       true,
       1,
       1},
      {"determinant 1e-8", {0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 1e-8f, 0}, false, 0, 0},
      {"determinant 1e-6", {0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 1e-6f, 0}, true, 0, 0},
      {"parallel", {0, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 2, 0}, false, 0, 0},
  };
  for (const Case& c : cases) {
    D3DXVECTOR3 out(9, 9, 9);
    EXPECT_EQ(IntersectLines2D(&c.p1, &c.p2, &c.p3, &c.p4, &out), c.meets) << c.what;
    if (c.meets) {
      ExpectNear(out, c.x, c.y, 0, c.what);
    } else {
      EXPECT_EQ(out, D3DXVECTOR3(9, 9, 9)) << c.what << ": untouched";
    }
  }
}

}  // namespace
