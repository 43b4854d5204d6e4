#pragma once

#include "platform/gfx/hresult.h"
#include "platform/math/d3dx_types.h"

// The D3DX vector and matrix functions, with D3DX's names and calling form: the result goes to
// the first argument, which is also returned, and may alias an input.
//
// Where D3DX would divide by zero the result stays finite instead: normalising a zero vector
// gives the zero vector, a transformed coordinate whose w is 0 is not divided, a zero-sized
// projection volume gives zero in the affected terms, and a singular matrix has no inverse.

// ---- vectors ----
float D3DXVec2Length(const D3DXVECTOR2* v);
float D3DXVec2Dot(const D3DXVECTOR2* a, const D3DXVECTOR2* b);
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v);

float D3DXVec3Length(const D3DXVECTOR3* v);
float D3DXVec3LengthSq(const D3DXVECTOR3* v);
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);

// (x, y, z, 1) x m, divided by the resulting w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// (x, y, z, 0) x m: directions and normals, no translation.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// (x, y, z, 1) x m, kept as four components.
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m);

// ---- matrices ----
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
bool D3DXMatrixIsIdentity(const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);
// Rotations by an angle in radians, clockwise when looking along the axis towards the origin
// (left-handed).
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
// The axis is normalised first; a zero axis gives the identity.
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle);
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);

// out = a x b: applies a first, then b.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
float D3DXMatrixDeterminant(const D3DXMATRIX* m);
// The inverse, and the determinant when `determinant` is not null. A singular matrix (or one
// with a non-finite determinant) leaves `out` untouched and returns null.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);
// Splits m into scaling x rotation x translation. The scales are the lengths of the first three
// rows; a matrix that mirrors gets a negative x scale so that the rotation stays proper. Fails
// with kInvalidCall, writing nothing, when a scale is 0.
gfx::HResult D3DXMatrixDecompose(D3DXVECTOR3* outScale, D3DXQUATERNION* outRotation,
                                 D3DXVECTOR3* outTranslation, const D3DXMATRIX* m);

// Left-handed view looking from eye at `at`.
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
// Left-handed perspective projection to z in [0, 1]; fovY in radians, aspect = width / height.
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear,
                                       float zFar);
// Orthographic projections of the box [left, right] x [bottom, top] x [zNear, zFar] to x, y in
// [-1, 1] and z in [0, 1]; RH looks down -z.
D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float left, float right, float bottom,
                                       float top, float zNear, float zFar);
D3DXMATRIX* D3DXMatrixOrthoOffCenterRH(D3DXMATRIX* out, float left, float right, float bottom,
                                       float top, float zNear, float zFar);
