#include "renderers/brush/ds_brush_obj.h"

#include "renderers/light/ds_2d_light.h"

DS_BrushObj::DS_BrushObj(std::unique_ptr<DS_FX_Constructor> brush)
    : DS_ABObj(std::move(brush)), brush_(static_cast<DS_FX_Constructor*>(Description())) {}

void DS_BrushObj::Draw(DS_2D_Light& canvas) {
  // A brush that is not ready still gets its Draw: kinds that lost their device objects make
  // them again there, and draw from the next frame on.
  brush_->Draw(canvas);
}

void DS_BrushObj::Render(DS_2D_Light& canvas, int* readerCount) {
  if (brush_->ReadyToDraw() && brush_->HasMode() != 0 && brush_->IsMode1())
    canvas.SwitchTarget(readerCount, brush_->ClearsTargetOnSwitch());
  Draw(canvas);
}

bool DS_BrushObj::ReadsPictureBelow() const {
  return brush_->ReadyToDraw() && brush_->HasMode() != 0 &&
         (brush_->IsMode1() || brush_->IsMode2());
}

int DS_BrushObj::NeedsPictureBelow() const {
  return IsActive() && ReadsPictureBelow() ? 1 : 0;
}

bool DS_BrushObj::NeedsTargetCopy() const {
  return brush_->ReadyToDraw() && brush_->HasMode() != 0 && brush_->IsMode2();
}
