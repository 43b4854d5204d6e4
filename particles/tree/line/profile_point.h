#pragma once

#include <cstdint>

#include "platform/math/d3dx_math.h"

// One point of a ribbon profile: a polyline along the ribbon's length with a width, an opacity
// and a colour at every point. Line nodes lay it along x; trails lay it along the path a particle
// took, with the incoming and outgoing perpendiculars as sides.
struct ProfilePoint {
  D3DXVECTOR3 position{0, 0, 0};
  D3DXVECTOR3 sideA{0, -1, 0};  // unit direction of the ribbon's first edge
  D3DXVECTOR3 sideB{0, -1, 0};  // the outgoing perpendicular (trails only)
  D3DXVECTOR3 sideC{0, 1, 0};   // unit direction of the ribbon's second edge
  float s = 0;                  // relative position 0..1 inside the segment that made the point
  uint32_t flags = 0;
  float distance = 0;  // from the ribbon's start
  float width = 0;
  float r = 1, g = 1, b = 1;  // colour multipliers
  float opacity = 1;
};
