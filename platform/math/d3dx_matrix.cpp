#include <cmath>
#include <cstring>

#include "platform/math/d3dx_math.h"

namespace {

// 1 / x, or 0 where x is 0, so that degenerate projection volumes stay finite.
float SafeRecip(float x) {
  return x != 0.0f ? 1.0f / x : 0.0f;
}

}  // namespace

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& m) {
  return *D3DXMatrixMultiply(this, this, &m);
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      (*this)(r, c) += m(r, c);
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      (*this)(r, c) -= m(r, c);
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(float f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      (*this)(r, c) *= f;
  return *this;
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& m) const {
  D3DXMATRIX out;
  D3DXMatrixMultiply(&out, this, &m);
  return out;
}

D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& m) const {
  return D3DXMATRIX(*this) += m;
}
D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& m) const {
  return D3DXMATRIX(*this) -= m;
}
D3DXMATRIX D3DXMATRIX::operator*(float f) const {
  return D3DXMATRIX(*this) *= f;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
  *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m) {
  D3DXMATRIX identity;
  return *m == *D3DXMatrixIdentity(&identity);
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
  *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
  *out = D3DXMATRIX(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  if (n == D3DXVECTOR3{}) return D3DXMatrixIdentity(out);
  const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  *out = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0,
                    t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0,
                    t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c, 0, 0, 0, 0,
                    1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
  const float x = q->x, y = q->y, z = q->z, w = q->w;
  *out =
      D3DXMATRIX(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,
                 2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,
                 2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
  // Written out on plain arrays of the sixteen elements (the matrix's layout), every index a
  // constant, so that every build, instrumented ones too, compiles it to straight arithmetic
  // with no checks or traced comparisons: scenes multiply matrices for every node of every
  // frame.
  float x[16], y[16];
  std::memcpy(x, a, sizeof x);
  std::memcpy(y, b, sizeof y);
  const float r[16] = {
      x[0] * y[0] + x[1] * y[4] + x[2] * y[8] + x[3] * y[12],       // (0, 0)
      x[0] * y[1] + x[1] * y[5] + x[2] * y[9] + x[3] * y[13],       // (0, 1)
      x[0] * y[2] + x[1] * y[6] + x[2] * y[10] + x[3] * y[14],      // (0, 2)
      x[0] * y[3] + x[1] * y[7] + x[2] * y[11] + x[3] * y[15],      // (0, 3)
      x[4] * y[0] + x[5] * y[4] + x[6] * y[8] + x[7] * y[12],       // (1, 0)
      x[4] * y[1] + x[5] * y[5] + x[6] * y[9] + x[7] * y[13],       // (1, 1)
      x[4] * y[2] + x[5] * y[6] + x[6] * y[10] + x[7] * y[14],      // (1, 2)
      x[4] * y[3] + x[5] * y[7] + x[6] * y[11] + x[7] * y[15],      // (1, 3)
      x[8] * y[0] + x[9] * y[4] + x[10] * y[8] + x[11] * y[12],     // (2, 0)
      x[8] * y[1] + x[9] * y[5] + x[10] * y[9] + x[11] * y[13],     // (2, 1)
      x[8] * y[2] + x[9] * y[6] + x[10] * y[10] + x[11] * y[14],    // (2, 2)
      x[8] * y[3] + x[9] * y[7] + x[10] * y[11] + x[11] * y[15],    // (2, 3)
      x[12] * y[0] + x[13] * y[4] + x[14] * y[8] + x[15] * y[12],   // (3, 0)
      x[12] * y[1] + x[13] * y[5] + x[14] * y[9] + x[15] * y[13],   // (3, 1)
      x[12] * y[2] + x[13] * y[6] + x[14] * y[10] + x[15] * y[14],  // (3, 2)
      x[12] * y[3] + x[13] * y[7] + x[14] * y[11] + x[15] * y[15],  // (3, 3)
  };
  std::memcpy(out, r, sizeof r);
  return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r(i, j) = (*m)(j, i);
  *out = r;
  return out;
}

namespace {

// Cofactors of m (adjugate transposed), accumulated in double for a stable determinant.
void Cofactors(const D3DXMATRIX& m, double c[4][4]) {
  auto e = [&](int r, int col) { return static_cast<double>(m(r, col)); };
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      int rows[3], cols[3];
      for (int k = 0, r = 0; k < 4; ++k)
        if (k != i) rows[r++] = k;
      for (int k = 0, col = 0; k < 4; ++k)
        if (k != j) cols[col++] = k;
      const double minor = e(rows[0], cols[0]) * (e(rows[1], cols[1]) * e(rows[2], cols[2]) -
                                                  e(rows[1], cols[2]) * e(rows[2], cols[1])) -
                           e(rows[0], cols[1]) * (e(rows[1], cols[0]) * e(rows[2], cols[2]) -
                                                  e(rows[1], cols[2]) * e(rows[2], cols[0])) +
                           e(rows[0], cols[2]) * (e(rows[1], cols[0]) * e(rows[2], cols[1]) -
                                                  e(rows[1], cols[1]) * e(rows[2], cols[0]));
      c[i][j] = ((i + j) % 2 == 0) ? minor : -minor;
    }
  }
}

}  // namespace

float D3DXMatrixDeterminant(const D3DXMATRIX* m) {
  double c[4][4];
  Cofactors(*m, c);
  double det = 0;
  for (int j = 0; j < 4; ++j)
    det += (*m)(0, j) * c[0][j];
  return static_cast<float>(det);
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
  double c[4][4];
  Cofactors(*m, c);
  double det = 0;
  for (int j = 0; j < 4; ++j)
    det += (*m)(0, j) * c[0][j];
  if (determinant) *determinant = static_cast<float>(det);
  if (det == 0.0 || !std::isfinite(det)) return nullptr;
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r(i, j) = static_cast<float>(c[j][i] / det);
  *out = r;
  return out;
}

gfx::HResult D3DXMatrixDecompose(D3DXVECTOR3* outScale, D3DXQUATERNION* outRotation,
                                 D3DXVECTOR3* outTranslation, const D3DXMATRIX* m) {
  D3DXVECTOR3 rows[3] = {
      {m->_11, m->_12, m->_13}, {m->_21, m->_22, m->_23}, {m->_31, m->_32, m->_33}};
  D3DXVECTOR3 scale(D3DXVec3Length(&rows[0]), D3DXVec3Length(&rows[1]), D3DXVec3Length(&rows[2]));
  if (scale.x == 0.0f || scale.y == 0.0f || scale.z == 0.0f) return gfx::kInvalidCall;
  if (D3DXMatrixDeterminant(m) < 0.0f) scale.x = -scale.x;
  rows[0] /= scale.x;
  rows[1] /= scale.y;
  rows[2] /= scale.z;

  // Quaternion of the proper rotation held in the rows, from its largest diagonal term.
  const float m11 = rows[0].x, m12 = rows[0].y, m13 = rows[0].z;
  const float m21 = rows[1].x, m22 = rows[1].y, m23 = rows[1].z;
  const float m31 = rows[2].x, m32 = rows[2].y, m33 = rows[2].z;
  const float trace = m11 + m22 + m33;
  D3DXQUATERNION q;
  if (trace > 0.0f) {
    const float w = std::sqrt(trace + 1.0f) * 0.5f, k = 0.25f / w;
    q = {(m23 - m32) * k, (m31 - m13) * k, (m12 - m21) * k, w};
  } else if (m11 >= m22 && m11 >= m33) {
    const float x = std::sqrt(std::fmax(0.0f, 1.0f + m11 - m22 - m33)) * 0.5f, k = 0.25f / x;
    q = {x, (m12 + m21) * k, (m13 + m31) * k, (m23 - m32) * k};
  } else if (m22 >= m33) {
    const float y = std::sqrt(std::fmax(0.0f, 1.0f + m22 - m11 - m33)) * 0.5f, k = 0.25f / y;
    q = {(m12 + m21) * k, y, (m23 + m32) * k, (m31 - m13) * k};
  } else {
    const float z = std::sqrt(std::fmax(0.0f, 1.0f + m33 - m11 - m22)) * 0.5f, k = 0.25f / z;
    q = {(m13 + m31) * k, (m23 + m32) * k, z, (m12 - m21) * k};
  }
  *outScale = scale;
  *outRotation = q;
  *outTranslation = {m->_41, m->_42, m->_43};
  return gfx::kOk;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
  D3DXVECTOR3 zAxis = *at - *eye, xAxis, yAxis;
  D3DXVec3Normalize(&zAxis, &zAxis);
  D3DXVec3Cross(&xAxis, up, &zAxis);
  D3DXVec3Normalize(&xAxis, &xAxis);
  D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
  *out = D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0, xAxis.y, yAxis.y, zAxis.y, 0, xAxis.z, yAxis.z,
                    zAxis.z, 0, -D3DXVec3Dot(&xAxis, eye), -D3DXVec3Dot(&yAxis, eye),
                    -D3DXVec3Dot(&zAxis, eye), 1);
  return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear,
                                       float zFar) {
  const float yScale = SafeRecip(std::tan(fovY * 0.5f));
  const float xScale = yScale * SafeRecip(aspect);
  const float q = zFar * SafeRecip(zFar - zNear);
  *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, q, 1, 0, 0, -zNear * q, 0);
  return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float left, float right, float bottom,
                                       float top, float zNear, float zFar) {
  const float w = SafeRecip(right - left), h = SafeRecip(top - bottom);
  const float d = SafeRecip(zFar - zNear);
  *out = D3DXMATRIX(2 * w, 0, 0, 0, 0, 2 * h, 0, 0, 0, 0, d, 0, -(left + right) * w,
                    -(top + bottom) * h, -zNear * d, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterRH(D3DXMATRIX* out, float left, float right, float bottom,
                                       float top, float zNear, float zFar) {
  D3DXMatrixOrthoOffCenterLH(out, left, right, bottom, top, zNear, zFar);
  out->_33 = -out->_33;
  return out;
}
