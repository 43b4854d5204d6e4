#include "objects/text3d/drift_params.h"

#include <cmath>

#include "player/render/matrix_values.h"

void DriftParams::SetDirection(uint32_t degrees) {
  direction_ = degrees;
  // Whole turns are dropped first, so that a large stored angle keeps its precision.
  const float a = DegreesToRadians(static_cast<float>(degrees % 360u));
  const float b = DegreesToRadians(static_cast<float>(degrees % 360u + 90u));
  drift_ = D3DXVECTOR4(std::cos(a), -std::sin(a), 0.0f, 0.0f);
  sway_ = D3DXVECTOR4(std::cos(b), -std::sin(b), 0.0f, 0.0f);
}
