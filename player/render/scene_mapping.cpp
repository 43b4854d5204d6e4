#include "player/render/scene_mapping.h"

#include <cmath>

#include "core/startup/thread_slots.h"
#include "player/document/scene_view.h"
#include "player/render/render_context.h"

namespace {

float Span(float value, float from, float to) {
  return to != from ? (value - from) / (to - from) : 0.0f;
}

float SceneWidth() {
  return static_cast<float>(GetSceneView()->pictureWidth);
}
float SceneHeight() {
  return static_cast<float>(GetSceneView()->pictureHeight);
}

}  // namespace

D3DXVECTOR3 PointToScene(const SceneView& view, float x, float y, float z) {
  CameraBlock identity;
  const RenderContext* context = RenderContextTlsSlot::Get();
  const CameraBlock& cb = context != nullptr ? context->Camera() : identity;
  const float zoom = cb.cameraZoom != 0.0f ? cb.cameraZoom : 1.0f;
  const QuadCorners& q = view.quad;
  const float sw = static_cast<float>(view.pictureWidth);
  const float sh = static_cast<float>(view.pictureHeight);
  return D3DXVECTOR3(
      sw * Span(x, q.Left(), q.Right()) * (cb.fitScaleX / zoom) - (cb.fitOffsetX / zoom + cb.panX),
      sh * Span(y, q.Top(), q.Bottom()) * (cb.fitScaleY / zoom) - (cb.fitOffsetY / zoom + cb.panY),
      z);
}

bool OutsideLeft(const BoundItem& p, const BoundLimits& q) {
  return q.left * SceneWidth() > p.x + std::fabs(p.ex);
}
bool OutsideRight(const BoundItem& p, const BoundLimits& q) {
  return p.x - std::fabs(p.ex) > q.right * SceneWidth();
}
bool OutsideBottom(const BoundItem& p, const BoundLimits& q) {
  return p.y - std::fabs(p.ey) > q.bottom * SceneHeight();
}
bool OutsideTop(const BoundItem& p, const BoundLimits& q) {
  return q.top * SceneHeight() > p.y + std::fabs(p.ey);
}
bool CrossingTop(const BoundItem& p, const BoundLimits& q) {
  return q.top * SceneHeight() > p.y - p.ey;
}
bool CrossingBottom(const BoundItem& p, const BoundLimits& q) {
  return p.y + p.ey > q.bottom * SceneHeight();
}
bool CrossingLeft(const BoundItem& p, const BoundLimits& q) {
  return q.left * SceneWidth() > p.x - p.ex;
}
bool CrossingRight(const BoundItem& p, const BoundLimits& q) {
  return p.x + p.ex > q.right * SceneWidth();
}
