#pragma once

#include <numbers>

#include "platform/math/d3dx_math.h"

// D3DX matrices as values, for the short products of the render code (row vectors: in A * B,
// A applies first).
inline D3DXMATRIX IdentityMatrix() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}
inline D3DXMATRIX TranslationMatrix(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}
inline D3DXMATRIX ScalingMatrix(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, x, y, z);
  return m;
}
// Rotations by an angle in degrees (turned into radians as degrees x 2 pi / 360), about the
// axis the name gives.
inline float DegreesToRadians(float degrees) {
  return degrees * 2.0f * std::numbers::pi_v<float> / 360.0f;
}
inline D3DXMATRIX RotationXDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, DegreesToRadians(degrees));
  return m;
}
inline D3DXMATRIX RotationYDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, DegreesToRadians(degrees));
  return m;
}
inline D3DXMATRIX RotationZDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, DegreesToRadians(degrees));
  return m;
}
// The orthographic projection of a w x h target with y downwards and z from -5000 to 5000;
// the identity for a target without area.
inline D3DXMATRIX TargetProjection(float w, float h) {
  if (!(w > 0.0f) || !(h > 0.0f)) return IdentityMatrix();
  D3DXMATRIX m;
  D3DXMatrixOrthoOffCenterLH(&m, 0.0f, w, h, 0.0f, -5000.0f, 5000.0f);
  return m;
}
