#include "tools/project_writer/demo_tree_parts.h"

#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

namespace demo_tree {

DS_SlideContainer& AddSystemSlide(ProjectBuilder& project, const zkw_string& name,
                                  const DS_ImageFileLink& background) {
  DS_SlideContainer& slide = project.AddSlide(1.5f, 12.0f, 1.5f);
  slide.name.RawValue() = name;
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;
  return slide;
}

std::unique_ptr<ZKW_PtclSys_Builder> CentredSystem() {
  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(287, 134, 0));
  return system;
}

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
