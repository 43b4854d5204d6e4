#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <numbers>

#include "platform/math/d3dx_math.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kEps = 1e-5f;

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float eps = kEps) {
  EXPECT_NEAR(actual.x, expected.x, eps);
  EXPECT_NEAR(actual.y, expected.y, eps);
  EXPECT_NEAR(actual.z, expected.z, eps);
}

void ExpectNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float eps = kEps) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(actual(r, c), expected(r, c), eps) << r << "," << c;
}

D3DXVECTOR3 Coord(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  return *D3DXVec3TransformCoord(&out, &v, &m);
}

TEST(D3dxLayout, ElementsAreRowsInMemoryOrder) {
  static_assert(offsetof(D3DXMATRIX, _12) == 4 && offsetof(D3DXMATRIX, _21) == 16);
  static_assert(offsetof(D3DXMATRIX, _41) == 48 && offsetof(D3DXMATRIX, _44) == 60);
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, 5, 6, 7);
  EXPECT_EQ(m(3, 0), 5.0f);
  EXPECT_EQ(m(3, 2), 7.0f);
  m(0, 3) = 9;
  EXPECT_EQ(m._14, 9.0f);
}

TEST(D3dxVector, LengthDotCrossNormalize) {
  const D3DXVECTOR3 a(3, 4, 0), b(1, 2, 3);
  EXPECT_FLOAT_EQ(D3DXVec3Length(&a), 5.0f);
  EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), 11.0f);
  D3DXVECTOR3 c;
  D3DXVec3Cross(&c, &a, &b);  // (4*3 - 0*2, 0*1 - 3*3, 3*2 - 4*1)
  EXPECT_EQ(c, D3DXVECTOR3(12, -9, 2));
  D3DXVec3Normalize(&c, &a);
  ExpectNear(c, {0.6f, 0.8f, 0});

  const D3DXVECTOR2 v2(-6, 8);
  D3DXVECTOR2 n2;
  EXPECT_FLOAT_EQ(D3DXVec2Length(&v2), 10.0f);
  D3DXVec2Normalize(&n2, &v2);
  EXPECT_FLOAT_EQ(n2.x, -0.6f);
  EXPECT_FLOAT_EQ(n2.y, 0.8f);
}

TEST(D3dxVector, NormalizingZeroGivesZero) {
  const D3DXVECTOR3 zero;
  D3DXVECTOR3 out(1, 1, 1);
  D3DXVec3Normalize(&out, &zero);
  EXPECT_EQ(out, D3DXVECTOR3());
  const D3DXVECTOR2 zero2;
  D3DXVECTOR2 out2(1, 1);
  D3DXVec2Normalize(&out2, &zero2);
  EXPECT_EQ(out2, D3DXVECTOR2());
}

// Row vectors: a point turns by the rows of the rotation matrices.
TEST(D3dxMatrix, RotationsTurnAxesTheLeftHandedWay) {
  D3DXMATRIX m;
  ExpectNear(Coord({1, 0, 0}, *D3DXMatrixRotationZ(&m, kPi / 2)), {0, 1, 0});
  ExpectNear(Coord({0, 1, 0}, *D3DXMatrixRotationX(&m, kPi / 2)), {0, 0, 1});
  ExpectNear(Coord({0, 0, 1}, *D3DXMatrixRotationY(&m, kPi / 2)), {1, 0, 0});
  ExpectNear(Coord({1, 0, 0}, *D3DXMatrixRotationY(&m, kPi / 2)), {0, 0, -1});

  // Direction of an angle a in degrees as the scene objects compute it: RotationZ(360 - a).
  D3DXMatrixRotationZ(&m, (360 - 30) * kPi / 180);
  const D3DXVECTOR4 x(1, 0, 0, 0);
  D3DXVECTOR4 d;
  D3DXVec4Transform(&d, &x, &m);
  EXPECT_NEAR(d.x, std::sqrt(3.0f) / 2, kEps);
  EXPECT_NEAR(d.y, -0.5f, kEps);
  EXPECT_EQ(d.w, 0.0f);
}

TEST(D3dxMatrix, AxisAndQuaternionRotationsAgree) {
  D3DXMATRIX a, b;
  const D3DXVECTOR3 z(0, 0, 2);  // not unit length: normalised first
  ExpectNear(*D3DXMatrixRotationAxis(&a, &z, 0.7f), *D3DXMatrixRotationZ(&b, 0.7f));

  const D3DXVECTOR3 diagonal(1, 1, 0);
  ExpectNear(Coord({1, 0, 0}, *D3DXMatrixRotationAxis(&a, &diagonal, kPi)), {0, 1, 0});

  const D3DXVECTOR3 axis(1, 2, 3);
  const float angle = 2.5f, s = std::sin(angle / 2) / std::sqrt(14.0f);
  const D3DXQUATERNION q(1 * s, 2 * s, 3 * s, std::cos(angle / 2));
  ExpectNear(*D3DXMatrixRotationQuaternion(&a, &q), *D3DXMatrixRotationAxis(&b, &axis, angle));

  const D3DXVECTOR3 none;
  EXPECT_TRUE(D3DXMatrixIsIdentity(D3DXMatrixRotationAxis(&a, &none, 1.0f)));
}

TEST(D3dxMatrix, MultiplyAppliesTheLeftMatrixFirst) {
  D3DXMATRIX s, t, m;
  D3DXMatrixScaling(&s, 2, 2, 2);
  D3DXMatrixTranslation(&t, 1, 0, 0);
  ExpectNear(Coord({1, 0, 0}, *D3DXMatrixMultiply(&m, &s, &t)), {3, 0, 0});
  ExpectNear(Coord({1, 0, 0}, t * s), {4, 0, 0});
  D3DXMatrixMultiply(&s, &s, &t);  // output aliasing an input
  ExpectNear(s, m);
}

TEST(D3dxMatrix, TransposeInverseAndDeterminant) {
  D3DXMATRIX s, t, m, inv;
  D3DXMatrixMultiply(&m, D3DXMatrixScaling(&s, 2, 4, 8), D3DXMatrixTranslation(&t, 1, 2, 3));
  float det = 0;
  ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
  EXPECT_FLOAT_EQ(det, 64.0f);
  ExpectNear(inv,
             D3DXMATRIX(0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, -0.5f, -0.5f, -0.375f, 1));

  const D3DXMATRIX general(1, 2, 0, 1, 0, 1, 3, 0, 2, 0, 1, 4, 1, 1, 1, 1);
  D3DXMatrixInverse(&inv, nullptr, &general);
  D3DXMATRIX identity;
  ExpectNear(general * inv, *D3DXMatrixIdentity(&identity));

  D3DXMATRIX tr;
  D3DXMatrixTranspose(&tr, &general);
  EXPECT_EQ(tr._12, 0.0f);
  EXPECT_EQ(tr._21, 2.0f);
  EXPECT_EQ(tr._41, 1.0f);
  EXPECT_EQ(tr._14, 1.0f);

  D3DXMATRIX untouched(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1);
  const D3DXMATRIX before = untouched;
  D3DXMatrixScaling(&s, 1, 0, 1);
  EXPECT_EQ(D3DXMatrixInverse(&untouched, &det, &s), nullptr);
  EXPECT_EQ(det, 0.0f);
  EXPECT_EQ(untouched, before);
}

TEST(D3dxMatrix, DecomposeGivesScaleRotationTranslation) {
  D3DXMATRIX s, r, t;
  const D3DXMATRIX m = *D3DXMatrixScaling(&s, 2, 3, 4) * *D3DXMatrixRotationY(&r, 0.5f) *
                       *D3DXMatrixTranslation(&t, 5, 6, 7);
  D3DXVECTOR3 scale, translation;
  D3DXQUATERNION q;
  ASSERT_EQ(D3DXMatrixDecompose(&scale, &q, &translation, &m), gfx::kOk);
  ExpectNear(scale, {2, 3, 4});
  ExpectNear(translation, {5, 6, 7});
  EXPECT_NEAR(q.x, 0, kEps);
  EXPECT_NEAR(q.y, std::sin(0.25f), kEps);
  EXPECT_NEAR(q.z, 0, kEps);
  EXPECT_NEAR(q.w, std::cos(0.25f), kEps);

  // Large rotations take the other branches; the quaternion rebuilds the rotation.
  for (const D3DXVECTOR3 axis :
       {D3DXVECTOR3(1, 0.1f, 0), D3DXVECTOR3(0.1f, 1, 0.2f), D3DXVECTOR3(0, 0.2f, 1)}) {
    D3DXMatrixRotationAxis(&r, &axis, 3.0f);
    ASSERT_EQ(D3DXMatrixDecompose(&scale, &q, &translation, &r), gfx::kOk);
    D3DXMATRIX rebuilt;
    ExpectNear(*D3DXMatrixRotationQuaternion(&rebuilt, &q), r, 1e-4f);
  }

  D3DXMatrixScaling(&s, -1, 1, 1);  // a mirror keeps a proper rotation
  ASSERT_EQ(D3DXMatrixDecompose(&scale, &q, &translation, &s), gfx::kOk);
  ExpectNear(scale, {-1, 1, 1});
  EXPECT_NEAR(std::fabs(q.w), 1.0f, kEps);

  D3DXMatrixScaling(&s, 1, 0, 1);
  EXPECT_EQ(D3DXMatrixDecompose(&scale, &q, &translation, &s), gfx::kInvalidCall);
}

TEST(D3dxMatrix, TransformCoordDividesByWAndNormalIgnoresTranslation) {
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, kPi / 2, 1, 1, 101);  // y scale 1, z scale 101/100
  ExpectNear(Coord({1, 2, 11}, p), {1.0f / 11, 2.0f / 11, 10.1f / 11});
  EXPECT_NEAR(Coord({0, 0, 1}, p).z, 0.0f, kEps);
  EXPECT_NEAR(Coord({0, 0, 101}, p).z, 1.0f, kEps);

  D3DXMATRIX w0;  // all zero but _11: w is 0, nothing is divided
  w0._11 = 2;
  ExpectNear(Coord({3, 1, 1}, w0), {6, 0, 0});

  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, 10, 20, 30);
  ExpectNear(Coord({1, 2, 3}, t), {11, 22, 33});
  const D3DXVECTOR3 n(1, 2, 3);
  D3DXVECTOR3 out;
  ExpectNear(*D3DXVec3TransformNormal(&out, &n, &t), n);
}

TEST(D3dxMatrix, LookAtMovesTheEyeToTheOrigin) {
  D3DXMATRIX v;
  const D3DXVECTOR3 up(0, 1, 0), origin(0, 0, 0), front(0, 0, -1), side(2, 0, 0);
  D3DXMatrixLookAtLH(&v, &front, &origin, &up);
  D3DXMATRIX t;
  ExpectNear(v, *D3DXMatrixTranslation(&t, 0, 0, 1));
  // From +x looking at the origin: view x is world z, view z the distance along -x.
  D3DXMatrixLookAtLH(&v, &side, &origin, &up);
  ExpectNear(Coord({0, 0, 5}, v), {5, 0, 2});
  ExpectNear(Coord({0, 3, 0}, v), {0, 3, 2});
}

TEST(D3dxMatrix, OrthographicProjections) {
  D3DXMATRIX p;
  D3DXMatrixOrthoOffCenterLH(&p, 0, 800, 600, 0, -5000, 5000);  // pixels, y down
  ExpectNear(Coord({0, 0, 0}, p), {-1, 1, 0.5f});
  ExpectNear(Coord({800, 600, 5000}, p), {1, -1, 1});
  ExpectNear(Coord({400, 300, -5000}, p), {0, 0, 0});

  D3DXMatrixOrthoOffCenterRH(&p, 0, 2, 0, 2, -1, 3);
  ExpectNear(Coord({0, 0, 1}, p), {-1, -1, 0});
  ExpectNear(Coord({2, 2, -3}, p), {1, 1, 1});

  D3DXMatrixOrthoOffCenterLH(&p, 1, 1, 0, 2, 0, 1);  // zero width stays finite
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_TRUE(std::isfinite(p(r, c)));
}

TEST(D3dxColor, ConvertsFromAndToArgbWords) {
  const D3DXCOLOR c(0x80FF4000u);
  EXPECT_FLOAT_EQ(c.a, 128 / 255.0f);
  EXPECT_FLOAT_EQ(c.r, 1.0f);
  EXPECT_FLOAT_EQ(c.g, 64 / 255.0f);
  EXPECT_EQ(c.ToArgb(), 0x80FF4000u);
  EXPECT_EQ(D3DXCOLOR(2.0f, -1.0f, 0.5f, NAN).ToArgb(), 0x00FF0080u);
}

}  // namespace
