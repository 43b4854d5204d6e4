#include "geometry/figure/zkw_custom_figure.h"

#include <memory>

#include "geometry/figure/zkw_vfigure_sector.h"

ZKW_CustomFigure::ZKW_CustomFigure() {
  SetFigure(DS_SafePtr<ZKW_VFigure>(CreateVFigureByName("ZKW_VFigure_Rect")), nullptr);
}

void ZKW_CustomFigure::SetFigure(DS_SafePtr<ZKW_VFigure> figure, MediaControl* source) {
  SetValue(figure, source);
  controls_.Clear();
  if (ZKW_VFigure* held = Figure()) held->AttachParamCallbacks(&controls_);
}

void ZKW_CustomFigure::MakeSectorFigure(unsigned direction, unsigned spread, unsigned radius) {
  std::unique_ptr<ZKW_VFigure> made = CreateVFigureByName("ZKW_VFigure_Sector");
  auto* sector = dynamic_cast<ZKW_VFigure_Sector*>(made.get());
  if (sector == nullptr) return;
  sector->innerRadius.SetValueSilently(0);
  sector->radius.SetValueSilently(radius);
  sector->sector.spread.SetValueSilently(spread);
  // Notified, so that the sector's direction vectors follow.
  sector->sector.SetValue(direction);
  SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(made)), nullptr);
}
