#include <cmath>

#include "platform/math/d3dx_math.h"

float D3DXVec2Length(const D3DXVECTOR2* v) {
  return std::sqrt(v->x * v->x + v->y * v->y);
}

float D3DXVec2Dot(const D3DXVECTOR2* a, const D3DXVECTOR2* b) {
  return a->x * b->x + a->y * b->y;
}

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v) {
  const float length = D3DXVec2Length(v);
  *out = length > 0.0f ? *v / length : D3DXVECTOR2{};
  return out;
}

float D3DXVec3LengthSq(const D3DXVECTOR3* v) {
  return v->x * v->x + v->y * v->y + v->z * v->z;
}

float D3DXVec3Length(const D3DXVECTOR3* v) {
  return std::sqrt(D3DXVec3LengthSq(v));
}

float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  *out = {a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  const float length = D3DXVec3Length(v);
  *out = length > 0.0f ? *v / length : D3DXVECTOR3{};
  return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 in = *v;
  *out = {in.x * m->_11 + in.y * m->_21 + in.z * m->_31 + in.w * m->_41,
          in.x * m->_12 + in.y * m->_22 + in.z * m->_32 + in.w * m->_42,
          in.x * m->_13 + in.y * m->_23 + in.z * m->_33 + in.w * m->_43,
          in.x * m->_14 + in.y * m->_24 + in.z * m->_34 + in.w * m->_44};
  return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 in(*v, 1.0f);
  return D3DXVec4Transform(out, &in, m);
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  D3DXVECTOR4 r;
  D3DXVec3Transform(&r, v, m);
  *out = {r.x, r.y, r.z};
  if (r.w != 0.0f) *out /= r.w;
  return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR3 in = *v;
  *out = {in.x * m->_11 + in.y * m->_21 + in.z * m->_31,
          in.x * m->_12 + in.y * m->_22 + in.z * m->_32,
          in.x * m->_13 + in.y * m->_23 + in.z * m->_33};
  return out;
}
