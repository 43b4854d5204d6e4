#include "core/param/smart_angle.h"

#include "platform/math/d3dx_math.h"

void ZKW_SmartAngle::Recompute() {
  radians_ = static_cast<float>(Value()) * 3.1415927f / 180.0f;
  D3DXMatrixRotationZ(&matrix_, -radians_);
  const D3DXVECTOR4 unitX(1, 0, 0, 0);
  D3DXVec4Transform(&direction_, &unitX, &matrix_);
  D3DXMatrixTranspose(&transposed_, &matrix_);
}
