#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// How the copies of a drifting-instances object move: their size, the direction they drift in
// and the one they sway along, and the speeds of drift, sway and tumbling.
class DriftParams {
 public:
  DriftParams() { SetDirection(0); }

  // The drift direction in degrees: d = (cos a, -sin a) and the sway direction
  // s = (cos(a + 90), -sin(a + 90)), so that 0 drifts right and 90 up the screen (y grows
  // downwards). Both vectors follow every setting.
  void SetDirection(uint32_t degrees);
  uint32_t Direction() const { return direction_; }
  const D3DXVECTOR4& DriftVector() const { return drift_; }
  const D3DXVECTOR4& SwayVector() const { return sway_; }

  // Diameter of a copy in pixels; half of it is also how far a copy leaves the view before it
  // re-enters.
  MediaParamT<unsigned> size{0};
  MediaParamT<unsigned> speed{50};
  // Sideways sway, and the speed of the two swing rotations.
  MediaParamT<unsigned> sway{0};
  // How often the sway value is drawn anew; 0 never.
  MediaParamT<unsigned> swayFrequency{0};
  // Speed of the three tumble rotations.
  MediaParamT<unsigned> spin{100};

 private:
  uint32_t direction_ = 0;
  D3DXVECTOR4 drift_;
  D3DXVECTOR4 sway_;
};
