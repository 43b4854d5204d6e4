#include "renderers/camera/dsm_camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/param/param_reads.h"
#include "core/param/smart_points.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"

namespace {

// A path point's zoom: its percent x 0.01, so that 0 % shrinks the picture to a point (nothing
// divides by it).
float PointZoom(const DX_CamPathPnt& point) {
  return static_cast<float>(point.zoomPercent.Value()) * 0.01f;
}

}  // namespace

DSM_Camera::DSM_Camera() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValueSilently(50);
  speed.Recompute();
}

float DSM_Camera::Zoom() const {
  const float z = zoom.Scaled();
  return z != 0.0f && std::isfinite(z) ? z : 1.0f;
}

bool DSM_Camera::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DSM_Camera", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(mode.Value());
  io.WriteUInt32(frameWidth.Value());
  io.WriteUInt32(frameHeight.Value());
  io.WriteDword(static_cast<uint32_t>(path.Value().size()));
  for (const DS_SafePtr<DX_CamPathPnt>& point : path.Value())
    WriteCamPathPoint(archive, *point);
  io.WriteUInt32(zoom.Value());
  io.WriteUInt32(speed.Value());
  RegisterSavedLinkWithDocument(pictureLink);
  WriteFileLink(archive, pictureLink);
  return true;
}

void DSM_Camera::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version >= 3) {
    io.ReadInt32(mode.RawValue());
    io.ReadUInt32(frameWidth.RawValue());
    io.ReadUInt32(frameHeight.RawValue());
    // A point takes at least its version, position and travel time.
    ReadPointVector<DX_CamPathPnt>(archive, path.RawValue(), 20, ReadCamPathPoint);
  } else {
    int32_t drifts = 0;
    io.ReadInt32(drifts);
    mode.RawValue() = drifts != 0 ? 1 : 0;
  }
  mode.SetValueSilently(mode.Value());
  frameWidth.SetValueSilently(frameWidth.Value());
  frameHeight.SetValueSilently(frameHeight.Value());
  ReadChangedUInt32(archive, zoom);
  ReadChangedUInt32(archive, speed);
  if (version > 1) ReadFileLink(archive, pictureLink);
}

bool DSM_Camera::Enable(bool on, const QuadCorners& view, const Size& picture, int fitMode) {
  const bool was = enabled == 1;
  enabled = on ? 1 : 0;
  startTime = switchTime = 0.0f;
  zoomFrom = zoomTo = 1.0f;
  from = to = D3DXVECTOR3(pictureWidth * 0.5f, pictureHeight * 0.5f, 0.0f);
  cursor = 0;
  forward = 1;
  const auto& points = path.Value();
  if (mode.Value() == 2 && !points.empty()) {
    from = to = points.front()->Value();
    zoomFrom = zoomTo = PointZoom(*points.front());
  }
  ApplyView(view, picture, fitMode, false);
  return was;
}

void DSM_Camera::ApplyView(const QuadCorners& view, const Size& picture, int fitMode,
                           bool keepView) {
  pictureWidth = picture.width;
  pictureHeight = picture.height;
  Size shown = picture;
  if (enabled != 0 && fitMode != 3) {
    if (mode.Value() == 1) {
      shown.width = SaturatingTruncate<uint32_t>(picture.width / Zoom());
      shown.height = SaturatingTruncate<uint32_t>(picture.height / Zoom());
    } else if (mode.Value() == 2) {
      shown = {frameWidth.Value(), frameHeight.Value()};
    }
  }
  if (RenderContext* context = RenderContextTlsSlot::Get())
    context->SetTargetView(view, picture, shown, fitMode, keepView);
}

void DSM_Camera::SetFrameSize(uint32_t width, uint32_t height) {
  frameWidth.SetValue(SaturatingTruncate<uint32_t>(0.8 * width));
  frameHeight.SetValue(SaturatingTruncate<uint32_t>(0.8 * height));
}

void DSM_Camera::Update(float t) {
  if (lastTime > t) lastTime = t;
  const float dt = t - lastTime;
  lastTime = t;
  lastStep = speed.Scaled() * std::min(dt, 0.2f);
  clock += lastStep;

  const bool moving = mode.Value() != 0 && enabled == 1;
  float x = pictureWidth * 0.5f, y = pictureHeight * 0.5f, z = 1.0f;
  if (moving) {
    if (clock >= switchTime) PickNextTarget(clock);
    // A move without duration (or a clock not yet inside it) shows its target.
    const float span = switchTime - startTime;
    const float ratio = span > 0.0f ? std::clamp((clock - startTime) / span, 0.0f, 1.0f) : 1.0f;
    const float m = (1.0f - std::cos(std::numbers::pi_v<float> * ratio)) * 0.5f;
    x = from.x + (to.x - from.x) * m;
    y = from.y + (to.y - from.y) * m;
    if (mode.Value() == 2 && path.Value().size() > 1) z = zoomFrom + (zoomTo - zoomFrom) * m;
  }

  RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return;
  context->cameraActive = moving;
  // The camera works in picture units, before the fit: the centre of the part shown is where
  // (x, y) goes and what the zoom pivots about.
  const float hw = context->frameW * 0.5f, hh = context->frameH * 0.5f;
  context->cameraWorld = TranslationMatrix(hw - x, hh - y, 0.0f) *
                         TranslationMatrix(-hw, -hh, 0.0f) * ScalingMatrix(z, z, 1.0f) *
                         TranslationMatrix(hw, hh, 0.0f);
  context->cameraOffset.x = pictureWidth * 0.5f - x;
  context->cameraOffset.y = pictureHeight * 0.5f - y;
}

void DSM_Camera::PickNextTarget(float now) {
  from = to;
  zoomFrom = zoomTo;
  startTime = now;
  if (mode.Value() == 1) {
    if (crt_rand() % 2 == 0) {
      switchTime = now + 0.5f;  // a pause: from equals to
      return;
    }
    const float z = Zoom();
    to.x = ((2.0f * crt_rand_unit() - 1.0f) * (1.0f - z) / z + 1.0f) * pictureWidth * 0.5f;
    to.y = ((2.0f * crt_rand_unit() - 1.0f) * (1.0f - z) / z + 1.0f) * pictureHeight * 0.5f;
    switchTime = 2.0f * crt_rand_unit() + 5.0f + now;
    return;
  }
  const auto& points = path.Value();
  const int count = static_cast<int>(points.size());
  if (mode.Value() != 2 || count < 2 || cursor < 0 || cursor >= count) return;
  float time = 0.0f;
  if (forward != 0) {
    time = points[cursor]->travelTime.Value();
    ++cursor;
  } else {
    --cursor;
    time = points[cursor]->travelTime.Value();
  }
  switchTime = time + now;
  if (cursor == count) {
    forward = 0;
    cursor = count - 2;
    switchTime = points[cursor]->travelTime.Value() + now;
  }
  if (cursor == 0) forward = 1;
  to = points[cursor]->Value();
  zoomTo = PointZoom(*points[cursor]);
}
