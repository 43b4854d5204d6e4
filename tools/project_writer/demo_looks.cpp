#include "tools/project_writer/demo_looks.h"

#include "core/timing/random_timeline.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

void DressLook(ParticleAppearance& look, const DS_ImageFileLink& picture, uint32_t columns,
               uint32_t rows) {
  DS_NamedFileLinkData data({picture});
  data.valueA = columns;
  data.valueB = rows;
  look.picture.SetValue(data);
  look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
}

void FadeColours(ParticleAppearance& look, uint32_t from, uint32_t to) {
  look.colorSet.colors.RawValue() = {from, to};
  look.colorSet.mode1.SetValue(1);
  look.colorSet.mode2.SetValue(0);
}

DS_SlideContainer& AddSlideOn(ProjectBuilder& project, const DS_ImageFileLink& background,
                              float fade, float hold) {
  DS_SlideContainer& slide = project.AddSlide(fade, hold, fade);
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;
  return slide;
}

void RandomPhases(DS_ABObj_Constructor& object, unsigned hiddenMin, unsigned hiddenMax,
                  unsigned fadeIn, unsigned shownMin, unsigned shownMax, unsigned fadeOut) {
  object.timing.SetValue(1);
  auto* timeline = dynamic_cast<ZKW_RandomTimeLine*>(object.timing.Current());
  if (timeline == nullptr) return;
  timeline->params.hiddenMin.SetValue(hiddenMin);
  timeline->params.hiddenMax.SetValue(hiddenMax);
  timeline->params.shownMin.SetValue(shownMin);
  timeline->params.shownMax.SetValue(shownMax);
  timeline->params.fadeIn.SetValue(fadeIn);
  timeline->params.fadeOut.SetValue(fadeOut);
}
