#pragma once

#include <cstdint>

#include "platform/math/d3dx_types.h"
#include "player/render/quad_corners.h"

// The fit of the picture as the view shows it, with the factors that map a view point back into
// the picture (PointToScene) and the matrices it sets on the device.
struct CameraBlock {
  CameraBlock();

  // Fits the picture inside a viewW x viewH view and derives the screen and fit matrices, the
  // scales and the fit factors for `fitMode`; then sets world, view and projection on the
  // device. Unless `keepView`, the fitted corners are taken to the back buffer's size. A
  // picture or view without area gives identity matrices, unit scales and no fit offset.
  void Setup(uint32_t viewW, uint32_t viewH, const Size& picture, int fitMode, bool keepView);

  D3DXMATRIX screenMatrix;
  D3DXMATRIX fitMatrix;
  D3DXMATRIX world;
  D3DXMATRIX view;
  D3DXMATRIX projection;
  float fitScaleX = 1.0f, fitScaleY = 1.0f;
  float fitOffsetX = 0.0f, fitOffsetY = 0.0f;
  // Nothing in the player changes these; PointToScene and the glass ball read them.
  float cameraZoom = 1.0f;
  float panY = 0.0f, panX = 0.0f;
  D3DXMATRIX cameraMatrix1;
  D3DXMATRIX cameraMatrix2;
  int fitMode = 1;
  uint32_t pictureW = 0, pictureH = 0;
  float scaleX = 1.0f, scaleY = 1.0f;  // target pixels per fitted unit
  float unitsPerPixel = 1.0f;          // picture units per view pixel
  float fittedLeft = 0.0f, fittedTop = 0.0f, fittedRight = 0.0f, fittedBottom = 0.0f;
};
