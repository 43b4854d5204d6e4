#include "tools/project_writer/demo_project.h"

#include <map>

#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_particles.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 8.0f;
constexpr int kCameraDrifts = 1;
constexpr unsigned kCameraZoomPercent = 125;

// A slide on `picture` whose renderer is of `rendererClass`, the camera drifting over it.
void AddPictureSlide(ProjectBuilder& project, const DS_ImageFileLink& picture,
                     const char16_t* rendererClass) {
  DS_SlideContainer& slide =
      project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds, rendererClass);
  DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
  if (renderer == nullptr) return;
  renderer->backgroundLink = picture;
  renderer->camera.mode.SetValueSilently(kCameraDrifts);
  renderer->camera.zoom.SetValue(kCameraZoomPercent);
}

}  // namespace

std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music,
                                      const std::vector<NamedFile>& pictures) {
  ProjectBuilder project;
  std::map<zkw_string, DS_ImageFileLink> backgroundLinks;
  for (const NamedFile& picture : backgrounds) {
    const DS_ImageFileLink link = project.StorePicture(picture.name, picture.bytes);
    backgroundLinks.emplace(picture.name, link);
    AddPictureSlide(project, link, u"DS_2D_Light");
  }
  // The renderer kinds on the pictures that suit them: the sea seen under water, the night
  // burning along its lower edge behind a heat haze.
  const std::pair<const char16_t*, const char16_t*> kinds[] = {{u"sea.png", u"FakeUndervater"},
                                                               {u"night.png", u"DS_FlameLight"}};
  for (const auto& [name, rendererClass] : kinds) {
    if (auto found = backgroundLinks.find(name); found != backgroundLinks.end())
      AddPictureSlide(project, found->second, rendererClass);
  }
  // The particle systems on the night, drawn with pictures of their own.
  std::map<zkw_string, DS_ImageFileLink> sprites;
  for (const NamedFile& picture : pictures)
    sprites.emplace(picture.name, project.StoreFramePicture(picture.name, picture.bytes));
  auto sprite = [&](const char16_t* name) -> const DS_ImageFileLink* {
    auto found = sprites.find(name);
    return found != sprites.end() ? &found->second : nullptr;
  };
  const DS_ImageFileLink* spot = sprite(u"soft_spot.png");
  const DS_ImageFileLink* atlas = sprite(u"spark_atlas.png");
  const DS_ImageFileLink* puff = sprite(u"smoke_puff.png");
  const auto night = backgroundLinks.find(u"night.png");
  if (night != backgroundLinks.end() && spot != nullptr && atlas != nullptr && puff != nullptr)
    AddParticleSlide(project, night->second, {*spot, *atlas, *puff});
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
