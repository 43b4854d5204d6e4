#include "player/render/quad_corners.h"

#include "player/render/device_desc.h"

void QuadCorners::SetRect(float x0, float y0, float x1, float y1) {
  Init();
  corners[0].x = x0;
  corners[0].y = y1;
  corners[1].x = x0;
  corners[1].y = y0;
  corners[2].x = x1;
  corners[2].y = y1;
  corners[3].x = x1;
  corners[3].y = y0;
}

void QuadCorners::FromBackBuffer() {
  gfx::SurfaceDesc desc;
  GetBackBufferDesc(desc);
  SetRect(0.0f, 0.0f, static_cast<float>(desc.width), static_cast<float>(desc.height));
}

void QuadCorners::ScaleToBackBuffer(int w, int h) {
  gfx::SurfaceDesc desc;
  GetBackBufferDesc(desc);
  if (w <= 0 || h <= 0 || desc.width == 0) return;
  const float sx = static_cast<float>(desc.width) / static_cast<float>(w);
  const float sy = static_cast<float>(desc.height) / static_cast<float>(h);
  for (Corner& c : corners) {
    c.x *= sx;
    c.y *= sy;
  }
}

void FitQuadToTarget(QuadCorners& out, const Size& picture, int targetW, int targetH) {
  const float tw = static_cast<float>(targetW), th = static_cast<float>(targetH);
  if (picture.width == 0 || picture.height == 0 || targetW <= 0 || targetH <= 0) {
    out.SetRect(0.0f, 0.0f, tw, th);
    return;
  }
  const float a = static_cast<float>(picture.height) / static_cast<float>(picture.width);
  float fw = tw, fh = tw * a, x0 = 0.0f, y0 = (th - fh) * 0.5f;
  if (a > th / tw) {
    fw = th / a;
    fh = th;
    x0 = (tw - fw) * 0.5f;
    y0 = 0.0f;
  }
  out.SetRect(x0, y0, x0 + fw, y0 + fh);
}
