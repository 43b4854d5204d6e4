#include "renderers/brush/ds_brush_obj.h"

#include "renderers/light/ds_2d_light.h"

DS_BrushObj::DS_BrushObj(std::unique_ptr<DS_FX_Constructor> brush)
    : DS_ABObj(std::move(brush)), brush_(static_cast<DS_FX_Constructor*>(Description())) {}

void DS_BrushObj::Draw(DS_2D_Light& canvas) {
  if (brush_->effect) brush_->Draw(canvas);
}

void DS_BrushObj::Render(DS_2D_Light& canvas, int* readerCount) {
  if (!brush_->effect) return;
  if (brush_->HasMode() != 0 && brush_->IsMode1())
    canvas.SwitchTarget(readerCount, brush_->ClearsTargetOnSwitch());
  Draw(canvas);
}

bool DS_BrushObj::ReadsPictureBelow() const {
  return brush_->effect && brush_->HasMode() != 0 && (brush_->IsMode1() || brush_->IsMode2());
}

int DS_BrushObj::NeedsPictureBelow() const {
  return IsActive() && ReadsPictureBelow() ? 1 : 0;
}

bool DS_BrushObj::NeedsTargetCopy() const {
  return brush_->effect && brush_->HasMode() != 0 && brush_->IsMode2();
}
