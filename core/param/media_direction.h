#pragma once

#include "core/param/callback_ctrl.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// A direction in whole degrees with its rotation about Z by plus that angle, the direction
// (1, 0, 0, 0) and the perpendicular (0, 1, 0, 0) turned by it: 90 degrees gives the direction
// (0, 1, 0, 0) and the perpendicular (-1, 0, 0, 0). It turns the other way than ZKW_SmartAngle.
// The derived data follows every change of the value.
class MediaDirection : public MediaParamT<unsigned> {
 public:
  MediaDirection() { Recompute(); }
  // Takes the other parameter's value only (not its observers or history).
  explicit MediaDirection(const MediaParamT<unsigned>& other) : MediaParamT<unsigned>(other) {
    Recompute();
  }
  MediaDirection(const MediaDirection& other)
      : MediaDirection(static_cast<const MediaParamT<unsigned>&>(other)) {}
  MediaDirection& operator=(const MediaDirection&) = delete;

  // Brings the derived data up to date (also after a direct store of the value).
  void Recompute();

  const D3DXVECTOR4& Direction() const { return direction_; }
  const D3DXVECTOR4& Perpendicular() const { return perpendicular_; }
  const D3DXMATRIX& Matrix() const { return matrix_; }

 private:
  D3DXVECTOR4 direction_;
  D3DXVECTOR4 perpendicular_;
  D3DXMATRIX matrix_;
  SmartCalbackCtrl<MediaDirection> recompute_{&MediaDirection::Recompute, this, this};
};

// An emission sector: a direction and a spread in degrees on either side of it.
class MediaSector : public MediaDirection {
 public:
  MediaSector() = default;
  MediaSector(const MediaSector& other) = default;
  MediaSector& operator=(const MediaSector&) = delete;

  // A unit vector in the XY plane at a uniformly drawn angle within the spread on either side
  // of the direction (one crt_rand draw). The angle is measured as ZKW_SmartAngle measures it.
  D3DXVECTOR3 RandomDirection() const;

  MediaParamT<unsigned> spread{0};
};
