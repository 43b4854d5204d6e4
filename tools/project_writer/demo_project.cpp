#include "tools/project_writer/demo_project.h"

#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 8.0f;
constexpr int kCameraDrifts = 1;
constexpr unsigned kCameraZoomPercent = 125;

}  // namespace

std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music) {
  ProjectBuilder project;
  for (const NamedFile& picture : backgrounds) {
    DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
    DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
    if (renderer == nullptr) continue;
    renderer->backgroundLink = project.StorePicture(picture.name, picture.bytes);
    renderer->camera.mode.SetValueSilently(kCameraDrifts);
    renderer->camera.zoom.SetValue(kCameraZoomPercent);
  }
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
