#pragma once

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
// The orthographic projection of a w x h target with y downwards and z from -5000 to 5000;
// the identity for a target without area.
inline D3DXMATRIX TargetProjection(float w, float h) {
  if (!(w > 0.0f) || !(h > 0.0f)) return IdentityMatrix();
  D3DXMATRIX m;
  D3DXMatrixOrthoOffCenterLH(&m, 0.0f, w, h, 0.0f, -5000.0f, 5000.0f);
  return m;
}
