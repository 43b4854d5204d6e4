#pragma once

#include "core/param/callback_ctrl.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// An angle in whole degrees that keeps what the drawing code wants of it: the angle in radians,
// the rotation about Z by minus that angle, its transpose, and the direction (1, 0, 0, 0) turned
// by it. So an increasing angle turns from +x towards -y: 90 degrees gives (0, -1, 0, 0). The
// derived data follows every change of the value (its control runs after the undo control).
class ZKW_SmartAngle : public MediaParamT<unsigned> {
 public:
  ZKW_SmartAngle() { Recompute(); }
  // Takes the other parameter's value only (not its observers or history).
  explicit ZKW_SmartAngle(const MediaParamT<unsigned>& other) : MediaParamT<unsigned>(other) {
    Recompute();
  }
  ZKW_SmartAngle(const ZKW_SmartAngle& other)
      : ZKW_SmartAngle(static_cast<const MediaParamT<unsigned>&>(other)) {}
  ZKW_SmartAngle& operator=(const ZKW_SmartAngle&) = delete;

  // Brings the derived data up to date (also after a direct store of the value).
  void Recompute();

  float Radians() const { return radians_; }
  const D3DXMATRIX& Matrix() const { return matrix_; }
  const D3DXMATRIX& TransposedMatrix() const { return transposed_; }
  const D3DXVECTOR4& Direction() const { return direction_; }

 private:
  float radians_ = 0.0f;
  D3DXMATRIX matrix_;
  D3DXMATRIX transposed_;
  D3DXVECTOR4 direction_;
  SmartCalbackCtrl<ZKW_SmartAngle> recompute_{&ZKW_SmartAngle::Recompute, this, this};
};
