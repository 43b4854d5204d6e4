#include "player/render/render_context.h"

#include <cmath>

#include "core/float_to_int.h"
#include "core/scene/scene_services.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/device_desc.h"
#include "player/render/matrix_values.h"

RenderContext::RenderContext(std::unique_ptr<CameraBlock> block)
    : projection(IdentityMatrix()),
      view(IdentityMatrix()),
      inverseView(IdentityMatrix()),
      worldBase(IdentityMatrix()),
      cameraWorld(IdentityMatrix()),
      cameraOffsetTranslation(IdentityMatrix()),
      cameraBlock(std::move(block)) {
  if (!cameraBlock) cameraBlock = std::make_unique<CameraBlock>();
}

void RenderContext::SetTargetView(const QuadCorners& quad, const Size& picture, const Size& frame,
                                  int mode, bool keepView) {
  const ScreenRect viewRect{quad.corners[0].x, quad.corners[1].y,
                            quad.corners[3].x - quad.corners[0].x,
                            quad.corners[2].y - quad.corners[1].y};
  FitProjection(viewRect,
                {0.0f, 0.0f, static_cast<float>(frame.width), static_cast<float>(frame.height)},
                mode);
  pictureW = static_cast<float>(picture.width);
  pictureH = static_cast<float>(picture.height);
  cameraBlock->Setup(SaturatingTruncate<uint32_t>(viewW), SaturatingTruncate<uint32_t>(viewH),
                     picture, mode, keepView);
}

void RenderContext::FitProjection(const ScreenRect& viewRect, const ScreenRect& frame, int mode) {
  const float w = viewRect.width, h = viewRect.height;
  frameW = frame.width;
  frameH = frame.height;
  viewW = w;
  viewH = h;
  fitMode = mode;

  gfx::SurfaceDesc target;
  GetRenderTargetDesc(target);
  projection =
      TargetProjection(static_cast<float>(target.width), static_cast<float>(target.height));

  // Without area there is nothing to fit: no scale, no offset, no bars.
  if (!(frame.width > 0.0f) || !(frame.height > 0.0f) || !(w > 0.0f) || !(h > 0.0f)) {
    view = IdentityMatrix();
    inverseView = IdentityMatrix();
    const ColorQuadMesh::Point zero;
    for (ColorQuadMesh& bar : borderBars)
      bar.SetCornersRaw(zero, zero, zero, zero);
    return;
  }

  const float a = frame.height / frame.width;
  float fw = w, fh = h, dx = 0.0f, dy = 0.0f;
  if (mode == 1 || mode == 2) {
    const bool barsLeftRight = mode == 1 ? a > h / w : a <= h / w;
    if (barsLeftRight) {
      fw = h / a;
      fh = h;
      dx = (w - fw) * 0.5f;
    } else {
      fw = w;
      fh = a * w;
      dy = (h - fh) * 0.5f;
    }
  }
  view = ScalingMatrix(fw / frame.width, fh / frame.height, 1.0f) *
         TranslationMatrix(dx + viewRect.x, dy + viewRect.y, 0.0f);
  D3DXMatrixInverse(&inverseView, nullptr, &view);

  const float W = frameW, H = frameH;
  using P = ColorQuadMesh::Point;
  borderBars[0].SetCornersRaw(P{W + 1000, -1000, 0}, P{W + 1000, 0, 0}, P{-1000, -1000, 0},
                              P{-1000, 0, 0});
  borderBars[1].SetCornersRaw(P{-1000, -1000, 0}, P{0, -1000, 0}, P{-1000, H + 1000, 0},
                              P{0, H + 1000, 0});
  borderBars[2].SetCornersRaw(P{-1000, H + 1000, 0}, P{-1000, H, 0}, P{W + 1000, H + 1000, 0},
                              P{W + 1000, H, 0});
  borderBars[3].SetCornersRaw(P{W + 1000, H + 1000, 0}, P{W, H + 1000, 0}, P{W + 1000, -1000, 0},
                              P{W, -1000, 0});
}

D3DXMATRIX RenderContext::WorldWith(const D3DXMATRIX& m, const D3DXMATRIX& parallax) const {
  D3DXMATRIX world = fitMode == 3 ? m : m * (cameraActive ? cameraWorld : worldBase);
  if (cameraActive) world = world * parallax;
  return world;
}

D3DXMATRIX RenderContext::WorldFor(const D3DXMATRIX& m) const {
  return WorldWith(m, cameraOffsetTranslation);
}

D3DXMATRIX RenderContext::ParallaxAt(float depthPercent) const {
  const float f = depthPercent != 0.0f ? 100.0f / depthPercent - 1.0f : 0.0f;
  return TranslationMatrix(f * cameraOffset.x, f * cameraOffset.y, f * cameraOffset.z);
}

std::optional<D3DXVECTOR3> RenderContext::PictureAt(float x, float y, float depthPercent) const {
  const D3DXMATRIX drawn = WorldWith(IdentityMatrix(), ParallaxAt(depthPercent)) * view;
  D3DXMATRIX inverse;
  if (D3DXMatrixInverse(&inverse, nullptr, &drawn) == nullptr) return std::nullopt;
  const D3DXVECTOR4 point(x, y, 0.0f, 1.0f);
  D3DXVECTOR4 p;
  D3DXVec4Transform(&p, &point, &inverse);
  return D3DXVECTOR3(p.x, p.y, p.z);
}

void RenderContext::SetWorldTransform(const D3DXMATRIX& m) {
  const D3DXMATRIX world = WorldFor(m);
  if (gfx::Device* device = CurrentDevice())
    device->SetTransform(gfx::TransformState::World, &world);
}

void RenderContext::ApplyViewProjection() const {
  if (gfx::Device* device = CurrentDevice()) {
    device->SetTransform(gfx::TransformState::View, &view);
    device->SetTransform(gfx::TransformState::Projection, &projection);
  }
}

D3DXMATRIX& RenderContext::GetWorldViewProjection(D3DXMATRIX& out, const D3DXMATRIX& m) const {
  out = WorldFor(m) * view * projection;
  return out;
}

void RenderContext::ApplyAndDrawBars() {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr) return;
  ApplyViewProjection();
  device->SetTransform(gfx::TransformState::World, &worldBase);
  device->SetTextureStageState(0, gfx::TextureStageState::ColorArg1, gfx::TextureArg::Diffuse);
  device->SetTextureStageState(0, gfx::TextureStageState::AlphaArg1, gfx::TextureArg::Diffuse);
  for (ColorQuadMesh& bar : borderBars) {
    if (!bar.vertices.buffer) continue;
    device->SetFVF(ColorQuadMesh::kWorldFvf);
    device->SetStreamSource(0, bar.vertices.buffer.Get(), 0, 16);
    device->DrawPrimitive(bar.primitiveType, 0, bar.primitiveCount);
  }
  device->SetTextureStageState(0, gfx::TextureStageState::ColorArg1, gfx::TextureArg::Texture);
  device->SetTextureStageState(0, gfx::TextureStageState::AlphaArg1, gfx::TextureArg::Texture);
}

int RoundToInt(float value) {
  return SaturatingTruncate<int>(std::nearbyint(static_cast<double>(value)));
}

void InstallRenderContextServices() {
  GetSceneServices().targetSize = [](const RenderContext& context, float& width, float& height) {
    width = context.frameW;
    height = context.frameH;
  };
}
