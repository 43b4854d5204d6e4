#include "player/render/camera_block.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/device_desc.h"
#include "player/render/matrix_values.h"

CameraBlock::CameraBlock()
    : screenMatrix(IdentityMatrix()),
      fitMatrix(IdentityMatrix()),
      world(IdentityMatrix()),
      projection(IdentityMatrix()),
      cameraMatrix1(IdentityMatrix()),
      cameraMatrix2(IdentityMatrix()) {
  const D3DXVECTOR3 eye(0.0f, 0.0f, -1.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
}

void CameraBlock::Setup(uint32_t viewW, uint32_t viewH, const Size& picture, int mode,
                        bool keepView) {
  fitMode = mode;
  pictureW = picture.width;
  pictureH = picture.height;
  const float vw = static_cast<float>(viewW), vh = static_cast<float>(viewH);

  QuadCorners fitted;
  FitQuadToTarget(fitted, picture, static_cast<int>(viewW), static_cast<int>(viewH));
  fittedLeft = fitted.Left();
  fittedTop = fitted.Top();
  fittedRight = fitted.Right();
  fittedBottom = fitted.Bottom();
  projection = TargetProjection(vw, vh);

  const bool hasArea = viewW != 0 && viewH != 0 && picture.width != 0 && picture.height != 0;
  float w = vw, h = vh;
  if (hasArea && !keepView) {
    gfx::SurfaceDesc backBuffer;
    GetBackBufferDesc(backBuffer);
    if (backBuffer.width != 0 && backBuffer.height != 0) {
      fitted.ScaleToBackBuffer(static_cast<int>(viewW), static_cast<int>(viewH));
      w = static_cast<float>(backBuffer.width);
      h = static_cast<float>(backBuffer.height);
    }
  }
  const float l = fitted.Left(), t = fitted.Top(), r = fitted.Right(), b = fitted.Bottom();

  float B = 1.0f, C = 1.0f;
  if (hasArea) {
    unitsPerPixel = fittedRight - fittedLeft == vw ? static_cast<float>(picture.width) / vw
                                                   : static_cast<float>(picture.height) / vh;
    scaleX = w / (r - l);
    scaleY = h / (b - t);
    screenMatrix = ScalingMatrix(1.0f / unitsPerPixel, 1.0f / unitsPerPixel, 1.0f) *
                   TranslationMatrix(l / (w / vw), t / (h / vh), 0.0f);
    const float bx = (2.0f * l + (r - l)) / (r - l), cy = (2.0f * t + (b - t)) / (b - t);
    if (mode == 0 || mode == 3) {
      B = bx;
      C = cy;
    } else if (mode == 2) {
      B = C = l == 0.0f ? cy : bx;
    }
  } else {
    unitsPerPixel = 1.0f;
    scaleX = scaleY = 1.0f;
    screenMatrix = IdentityMatrix();
  }

  if (gfx::Device* device = CurrentDevice()) {
    device->SetTransform(gfx::TransformState::World, &world);
    device->SetTransform(gfx::TransformState::View, &view);
    device->SetTransform(gfx::TransformState::Projection, &projection);
  }

  fitOffsetX = (1.0f - B) * 0.5f * static_cast<float>(pictureW) / B;
  fitOffsetY = (1.0f - C) * 0.5f * static_cast<float>(pictureH) / C;
  fitScaleX = 1.0f / B;
  fitScaleY = 1.0f / C;
  fitMatrix = TranslationMatrix(fitOffsetX, fitOffsetY, 0.0f) * ScalingMatrix(B, C, 1.0f);
}
