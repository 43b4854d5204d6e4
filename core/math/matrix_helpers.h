#pragma once

#include "platform/math/d3dx_types.h"

// Scaling by (sx, sy, sz) about `pivot`: Translation(-pivot) x Scaling x Translation(pivot).
D3DXMATRIX* ScalingAboutPivot(D3DXMATRIX* out, const D3DXVECTOR3* pivot, float sx, float sy,
                              float sz);

// The rotation in the XY plane between p = (x1, y1, z1) and q = (x2, y2, z2), which callers pass
// as unit vectors: with c = p.q and s = |p x q| signed like (p x q).z (positive when that is 0),
// _11 = _22 = c, _21 = s, _12 = -s, the rest identity. Equal or opposite vectors (or any pair
// whose cross product is not > 0 in length) give the identity.
D3DXMATRIX* RotationZBetweenVectors(D3DXMATRIX* out, float x1, float y1, float z1, float x2,
                                    float y2, float z2);

// The intersection of the infinite lines p1p2 and p3p4 in x and y, computed in double
// precision; z is 0. Parallel or nearly parallel lines (|determinant| < 1e-7) answer false and
// leave `out` untouched.
bool IntersectLines2D(const D3DXVECTOR3* p1, const D3DXVECTOR3* p2, const D3DXVECTOR3* p3,
                      const D3DXVECTOR3* p4, D3DXVECTOR3* out);
