#include "tools/project_writer/demo_tree_parts.h"

#include "geometry/shape/zkw_vgeom2d_rect.h"

namespace demo_tree {

std::unique_ptr<ZKW_VGeom2D> Rect(float x, float y, unsigned w, unsigned h) {
  auto rect = std::make_unique<ZKW_VGeom2D_Rect>();
  rect->width.RawValue() = w;
  rect->height.RawValue() = h;
  rect->position.RawValue() = D3DXVECTOR3(x, y, 0);
  return rect;
}

std::unique_ptr<ZKW_PtclSysPhys_SourceFig> Stream(unsigned emission, unsigned life,
                                                  std::unique_ptr<ZKW_PtclSys_MotionLaw> law,
                                                  std::unique_ptr<ZKW_VGeom2D> shape) {
  auto source = std::make_unique<ZKW_PtclSysPhys_SourceFig>();
  source->emission.SetValue(emission);
  source->emission.modulated = static_cast<float>(emission);
  source->life.value.SetValue(life);
  source->SetGeometry(std::move(shape));
  source->law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(std::move(law));
  if (source->law) source->law->SetCentre(source->GetGeometry());
  return source;
}

}  // namespace demo_tree
