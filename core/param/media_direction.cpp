#include "core/param/media_direction.h"

#include "core/crt_rand.h"
#include "platform/math/d3dx_math.h"

void MediaDirection::Recompute() {
  D3DXMatrixRotationZ(&matrix_, static_cast<float>(Value()) * 3.1415927f / 180.0f);
  const D3DXVECTOR4 unitX(1, 0, 0, 0);
  const D3DXVECTOR4 unitY(0, 1, 0, 0);
  D3DXVec4Transform(&direction_, &unitX, &matrix_);
  D3DXVec4Transform(&perpendicular_, &unitY, &matrix_);
}

D3DXVECTOR3 MediaSector::RandomDirection() const {
  const float s = static_cast<float>(spread.Value());
  const float r = crt_rand_unit();
  const float offset = r * (s - -s) + -s;
  const float degrees = 360.0f - (static_cast<float>(Value()) + offset);
  D3DXMATRIX rotation;
  D3DXMatrixRotationZ(&rotation, degrees * 3.1415927f / 180.0f);
  const D3DXVECTOR3 unitX(1, 0, 0);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &unitX, &rotation);
  return out;
}
