#pragma once

#include <cstdint>

#include "core/param/callback_ctrl_set.h"
#include "core/param/media_param_t.h"
#include "core/param/media_rectangle.h"
#include "core/scene/ds_abobj_constructor.h"
#include "platform/math/d3dx_types.h"
#include "player/render/quad_corners.h"

// The saved form of every scene object that lives inside a rectangle of the scene (sprite
// presets, 3D model objects). The rectangle is kept twice: as fractions of the scene size (the
// current document's picture size) and as a pixel rectangle that mirrors them, so that an edit
// of either reaches the other. It also carries the motion clock that the sprite array advances
// and the kinds read.
//
// Record "DS_ViewObjCtrl" version 2: the pixel rectangle (six Int32), left, right, top, bottom
// (Float), the view flag (Bool), the motion rate (UInt32, from version 2), then the
// "DS_ABObj_Constructor" record.
class DS_ViewObjCtrl : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;

  // The whole scene, motion rate 50 (real time); the pixel rectangle follows the fractions.
  DS_ViewObjCtrl();
  // The description, the fractions, the view flag and the motion rate; the pixel rectangle is
  // made again from the fractions at the current scene size, and the motion clock starts at 0.
  DS_ViewObjCtrl(const DS_ViewObjCtrl& other);
  DS_ViewObjCtrl& operator=(const DS_ViewObjCtrl&) = delete;
  ~DS_ViewObjCtrl() override;

  bool Save(DS_IOF_Archive& archive) const override;
  // Every field straight into its value (no notification, the pixel rectangle is not
  // re-synchronised); version 1 keeps the motion rate 50. Answers the description's read.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Motion step, elapsed and last time back to 0; the rectangle stays.
  void Restart() override;
  // The motion clock at local time t: step = rate x 0.02 x min(|t - last time|, 0.2), so that a
  // time running backwards still steps forwards; last time = t; elapsed += step. A time that is
  // not finite takes a step of 0.
  void AdvanceMotionClock(float t);

  // The rectangle's corners in scene pixels, in strip order: (left, bottom), (left, top),
  // (right, bottom), (right, top), z 1, texture corners of a unit quad. Not truncated.
  virtual void ViewQuad(QuadCorners& out);
  // Whether the point (x, y) of the target lies in the object; false here, kinds override.
  virtual bool HitTest(float x, float y);

  // A point of the rectangle: x first, then y, from two successive draws; z 0.
  void RandomPointInView(D3DXVECTOR3& out) const;
  // The pixel rectangle from the fractions at the current scene size; each bound that changes
  // is notified, so the fractions are carried back to whole pixels.
  void SyncPixelRect();

  // A pixel bound changed: its fraction becomes the pixel value over the scene size. At a
  // scene size of 0 the fraction stays.
  void OnLeftChanged(int x);
  void OnRightChanged(int x);
  void OnTopChanged(int y);
  void OnBottomChanged(int y);

  // The view rectangle in scene pixels: left x W, right x W, top x H, bottom x H.
  float LeftPixels() const;
  float RightPixels() const;
  float TopPixels() const;
  float BottomPixels() const;

  MediaRectangle pixelRect;
  // 50 is real time: the motion step is rate x 0.02 x the clamped time step.
  MediaParamT<unsigned> motionRate{50};
  // Stored and copied; nothing acts on it.
  bool viewFlag = false;
  float left = 0.0f;
  float right = 1.0f;
  float top = 0.0f;
  float bottom = 1.0f;
  // The motion clock: the last step, the sum of the steps and the local time of the last step.
  float motionStep = 0.0f;
  float motionElapsed = 0.0f;
  float motionLastTime = 0.0f;

 private:
  void InstallRectCallbacks();

  CallbackCtrlSet<DS_ViewObjCtrl> rectCallbacks_{this};
};

// The current scene size in pixels (the current document's picture size).
uint32_t SceneWidth();
uint32_t SceneHeight();
