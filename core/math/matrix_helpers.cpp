#include "core/math/matrix_helpers.h"

#include <cmath>

#include "platform/math/d3dx_math.h"

D3DXMATRIX* ScalingAboutPivot(D3DXMATRIX* out, const D3DXVECTOR3* pivot, float sx, float sy,
                              float sz) {
  D3DXMATRIX toOrigin, scaling, back;
  D3DXMatrixTranslation(&toOrigin, -pivot->x, -pivot->y, -pivot->z);
  D3DXMatrixScaling(&scaling, sx, sy, sz);
  D3DXMatrixTranslation(&back, pivot->x, pivot->y, pivot->z);
  D3DXMatrixMultiply(out, &toOrigin, &scaling);
  return D3DXMatrixMultiply(out, out, &back);
}

D3DXMATRIX* RotationZBetweenVectors(D3DXMATRIX* out, float x1, float y1, float z1, float x2,
                                    float y2, float z2) {
  D3DXMatrixIdentity(out);
  const D3DXVECTOR3 p(x1, y1, z1);
  const D3DXVECTOR3 q(x2, y2, z2);
  const float c = D3DXVec3Dot(&p, &q);
  D3DXVECTOR3 n;
  D3DXVec3Cross(&n, &p, &q);
  const float length = D3DXVec3Length(&n);
  if (!(length > 0.0f)) return out;
  const float s = n.z < 0.0f ? -length : length;
  out->_11 = c;
  out->_22 = c;
  out->_21 = s;
  out->_12 = -s;
  return out;
}

bool IntersectLines2D(const D3DXVECTOR3* p1, const D3DXVECTOR3* p2, const D3DXVECTOR3* p3,
                      const D3DXVECTOR3* p4, D3DXVECTOR3* out) {
  const double d12x = double{p1->x} - p2->x, d12y = double{p1->y} - p2->y;
  const double d34x = double{p3->x} - p4->x, d34y = double{p3->y} - p4->y;
  const double det = d12x * d34y - d12y * d34x;
  // Written so that a NaN determinant also answers false.
  if (!(std::fabs(det) >= 1e-7)) return false;
  const double c12 = double{p1->x} * p2->y - double{p1->y} * p2->x;
  const double c34 = double{p3->x} * p4->y - double{p3->y} * p4->x;
  out->x = static_cast<float>((c12 * d34x - c34 * d12x) / det);
  out->y = static_cast<float>((c12 * d34y - c34 * d12y) / det);
  out->z = 0.0f;
  return true;
}
