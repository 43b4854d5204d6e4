#include "core/math/random_direction.h"

#include "core/crt_rand.h"
#include "platform/math/d3dx_math.h"

D3DXVECTOR3* RandomDirection2D(D3DXVECTOR3* out, float length, float a, float b) {
  const float angle = a + crt_rand_unit() * (b - a);
  D3DXMATRIX rotation;
  D3DXMatrixRotationZ(&rotation, (angle * -3.1415927f) / 180.0f);
  const D3DXVECTOR3 v(length, 0, 0);
  return D3DXVec3TransformCoord(out, &v, &rotation);
}

D3DXVECTOR3* RandomDirection3D(D3DXVECTOR3* out, float length, float a, float b) {
  const float s = b - a;
  RandomDirection2D(out, length, a, b);
  const float tilt = crt_rand_unit() * s - s / 2.0f;
  D3DXMATRIX rotation;
  D3DXMatrixRotationY(&rotation, tilt * 3.1415927f / 180.0f);
  return D3DXVec3TransformCoord(out, out, &rotation);
}
