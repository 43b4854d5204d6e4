#pragma once

#include "platform/math/d3dx_types.h"

// Random directions of a given length. Angles are in degrees; each draw is
// r = crt_rand() / 32767, and the draws are made in the order given.

// (length, 0, 0) turned about Z by minus an angle drawn uniformly from [a, b] (one draw): the
// direction lies at that angle measured from +x towards -y.
D3DXVECTOR3* RandomDirection2D(D3DXVECTOR3* out, float length, float a, float b);

// As RandomDirection2D (first draw), then turned about Y by an angle drawn uniformly from
// [-s/2, s/2] with s = b - a (second draw).
D3DXVECTOR3* RandomDirection3D(D3DXVECTOR3* out, float length, float a, float b);
