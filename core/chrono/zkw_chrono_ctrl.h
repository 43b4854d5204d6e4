#pragma once

#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"

// The face through which a time-window controller drives the parameter that wraps it: the clock
// hands it the controller's value once per frame.
class ZKW_ChronePrm {
 public:
  virtual void ApplyChronoValue(float v) = 0;

 protected:
  ~ZKW_ChronePrm() = default;
};

// A time-window controller: a factor over the clock's time that switches a wrapped parameter on
// and off. Shared through DS_SafePtr by its wrapper and by the thread's ChronoClock; the clock
// drops it once its wrapper has let go of it (face null).
class ZKW_ChronoCtrl : public ZKW_IOF_Item {
 public:
  ZKW_ChronoCtrl(const ZKW_ChronoCtrl&) = delete;
  ZKW_ChronoCtrl& operator=(const ZKW_ChronoCtrl&) = delete;

  // The base part of every controller record: "ZKW_ChronoCtrl", version 1, no fields.
  bool Save(DS_IOF_Archive& archive) const override;

  virtual const char* GetClassName() const = 0;
  // Back to the state of a new controller.
  virtual void Restart() = 0;
  // The factor at clock time t (seconds of the clock's local time).
  virtual float GetValue(float t) = 0;

  // The wrapper this controller drives; null once that wrapper is gone or has replaced it.
  ZKW_ChronePrm* Face() const { return face_; }
  void SetFace(ZKW_ChronePrm* face) { face_ = face; }

 protected:
  ZKW_ChronoCtrl() = default;

 private:
  ZKW_ChronePrm* face_ = nullptr;
};

// A controller record read by class name through the controller registry; null for a class the
// registry does not hold (the stream is failed then).
std::unique_ptr<ZKW_ChronoCtrl> ReadChronoCtrl(DS_IOF_Archive& archive);
