#include "objects/sprites/ds_view_obj_ctrl.h"

#include <algorithm>
#include <cmath>

#include "core/clock_step.h"
#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "player/document/scene_view.h"

namespace {

// A fraction of the scene size as whole pixels: truncated, at least 0 (NaN gives 0).
int WholePixels(float fraction, uint32_t size) {
  return std::max(0, SaturatingTruncate<int>(fraction * static_cast<float>(size)));
}

// The fraction that a pixel value is of the scene size; the old one at a size of 0.
void CarryBack(float& fraction, int pixels, uint32_t size) {
  if (size != 0) fraction = static_cast<float>(pixels) / static_cast<float>(size);
}

}  // namespace

uint32_t SceneWidth() {
  return GetSceneView()->pictureWidth;
}

uint32_t SceneHeight() {
  return GetSceneView()->pictureHeight;
}

DS_ViewObjCtrl::DS_ViewObjCtrl() {
  InstallRectCallbacks();
}

DS_ViewObjCtrl::DS_ViewObjCtrl(const DS_ViewObjCtrl& other)
    : DS_IOF_Item(),
      DS_ABObj_Constructor(other),
      motionRate(other.motionRate),
      viewFlag(other.viewFlag),
      left(other.left),
      right(other.right),
      top(other.top),
      bottom(other.bottom) {
  InstallRectCallbacks();
}

DS_ViewObjCtrl::~DS_ViewObjCtrl() = default;

void DS_ViewObjCtrl::InstallRectCallbacks() {
  SyncPixelRect();
  rectCallbacks_.WatchValue<int>(pixelRect.xMin, &DS_ViewObjCtrl::OnLeftChanged);
  rectCallbacks_.WatchValue<int>(pixelRect.xMax, &DS_ViewObjCtrl::OnRightChanged);
  rectCallbacks_.WatchValue<int>(pixelRect.yMin, &DS_ViewObjCtrl::OnTopChanged);
  rectCallbacks_.WatchValue<int>(pixelRect.yMax, &DS_ViewObjCtrl::OnBottomChanged);
}

void DS_ViewObjCtrl::SyncPixelRect() {
  const uint32_t w = SceneWidth(), h = SceneHeight();
  pixelRect.xMin.SetValue(WholePixels(left, w));
  pixelRect.xMax.SetValue(WholePixels(right, w));
  pixelRect.yMin.SetValue(WholePixels(top, h));
  pixelRect.yMax.SetValue(WholePixels(bottom, h));
}

void DS_ViewObjCtrl::OnLeftChanged(int x) {
  CarryBack(left, x, SceneWidth());
}

void DS_ViewObjCtrl::OnRightChanged(int x) {
  CarryBack(right, x, SceneWidth());
}

void DS_ViewObjCtrl::OnTopChanged(int y) {
  CarryBack(top, y, SceneHeight());
}

void DS_ViewObjCtrl::OnBottomChanged(int y) {
  CarryBack(bottom, y, SceneHeight());
}

float DS_ViewObjCtrl::LeftPixels() const {
  return left * static_cast<float>(SceneWidth());
}

float DS_ViewObjCtrl::RightPixels() const {
  return right * static_cast<float>(SceneWidth());
}

float DS_ViewObjCtrl::TopPixels() const {
  return top * static_cast<float>(SceneHeight());
}

float DS_ViewObjCtrl::BottomPixels() const {
  return bottom * static_cast<float>(SceneHeight());
}

bool DS_ViewObjCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ViewObjCtrl", kVersion);
  WriteMediaRectangle(archive, pixelRect);
  DS_IOF_Virtual& io = archive.io();
  io.WriteFloat(left);
  io.WriteFloat(right);
  io.WriteFloat(top);
  io.WriteFloat(bottom);
  io.WriteBool(viewFlag);
  io.WriteUInt32(motionRate.Value());
  return DS_ABObj_Constructor::Save(archive);
}

bool DS_ViewObjCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadMediaRectangle(archive, pixelRect);
  DS_IOF_Virtual& io = archive.io();
  io.ReadFloat(left);
  io.ReadFloat(right);
  io.ReadFloat(top);
  io.ReadFloat(bottom);
  io.ReadBool(viewFlag);
  if (version > 1) io.ReadUInt32(motionRate.RawValue());
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ViewObjCtrl::Restart() {
  motionStep = 0.0f;
  motionElapsed = 0.0f;
  motionLastTime = 0.0f;
}

void DS_ViewObjCtrl::AdvanceMotionClock(float t) {
  motionStep =
      static_cast<float>(motionRate.Value()) * 0.02f * AbsoluteClockStep(motionLastTime, t);
  motionElapsed += motionStep;
}

void DS_ViewObjCtrl::ViewQuad(QuadCorners& out) {
  out.Init();
  const float l = LeftPixels(), r = RightPixels(), t = TopPixels(), b = BottomPixels();
  const float xs[4] = {l, l, r, r};
  const float ys[4] = {b, t, b, t};
  for (int i = 0; i < 4; ++i) {
    out.corners[i].x = xs[i];
    out.corners[i].y = ys[i];
  }
}

bool DS_ViewObjCtrl::HitTest(float /*x*/, float /*y*/) {
  return false;
}

void DS_ViewObjCtrl::RandomPointInView(D3DXVECTOR3& out) const {
  const float l = LeftPixels(), t = TopPixels();
  const float x = crt_rand_unit() * (RightPixels() - l) + l;
  const float y = crt_rand_unit() * (BottomPixels() - t) + t;
  out = D3DXVECTOR3(x, y, 0.0f);
}
