#pragma once

#include <memory>

#include "core/scene/ds_abobj.h"
#include "renderers/brush/ds_fx_constructor.h"

// The run-time object of every brush: it owns the prepared copy of the brush that
// DS_FX_Constructor::CreateRuntimeObject made, hands it the object's time and its draws, and
// answers the renderer's object pass for it.
//
// A brush reads the picture below it in modes 1 and 2 only, and only when it is ready to draw
// (it has its effect, and the device objects of its kind): mode 1 switches the canvas's target
// itself before drawing, mode 2 asks the object pass for a target copy, which makes the switch.
// A brush that is not ready draws nothing, so it reads nothing (in mode 1 it would leave the
// slide on a cleared target); other modes switch nowhere, so they announce no reader either.
class DS_BrushObj : public DS_ABObj {
 public:
  explicit DS_BrushObj(std::unique_ptr<DS_FX_Constructor> brush);

  // The brush's Draw (which draws nothing while the brush is not ready).
  void Draw(DS_2D_Light& canvas) override;
  // A mode-1 brush that is ready first switches the canvas to its other target (cleared as the
  // brush asks), counting `readerCount` down; then Draw.
  void Render(DS_2D_Light& canvas, int* readerCount) override;
  // 1 for an active brush that reads the picture below (see the class comment), else 0.
  int NeedsPictureBelow() const override;
  // A mode-2 brush that is ready, active or not.
  bool NeedsTargetCopy() const override;
  void SetTargetPoint(float x, float y, float z) override { brush_->SetTargetPoint(x, y, z); }
  // The brush's Tick with the object's local time.
  void Update(float localTime) override { brush_->Tick(localTime); }
  void ObjectHint(int hint, int /*extra*/) override { brush_->ObjectHint(hint); }
  int GetObjectKind() const override { return DS_ABObj_Constructor::kBrushKind; }
  bool KindFlag() const override { return brush_->KindFlag(); }

  DS_FX_Constructor& Brush() const { return *brush_; }

 private:
  // Whether the brush reads the picture below it at all (active or not).
  bool ReadsPictureBelow() const;

  DS_FX_Constructor* brush_;  // the description, owned by DS_ABObj
};
