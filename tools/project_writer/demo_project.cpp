#include "tools/project_writer/demo_project.h"

#include <map>

#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "renderers/light/ds_2d_light.h"
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

// The night with sprite presets over it: stars sparkling in the sky, rays of moonlight swaying
// down through it, and a discharge flickering between two points of the sky.
void AddNightSpritesSlide(ProjectBuilder& project, const DS_ImageFileLink& picture) {
  AddPictureSlide(project, picture, u"DS_2D_Light");
  DS_SlideContainer& slide = *project.Root().slides.back();

  auto sparkles = std::make_unique<DS_SparkleConstructor>();
  sparkles->name = u"Stars";
  sparkles->count.SetValue(70);
  sparkles->size.SetValue(16);
  sparkles->blendMode.SetValue(1);
  sparkles->colour.SetValue(0xE0F8FF);
  sparkles->pulseRate = 0.7f;
  sparkles->sizeFactorMin = 0.5f;
  sparkles->sizeFactorMax = 1.3f;
  sparkles->picture = DS_ImageFileLink(u"glimres.dll", 79);
  sparkles->bottom = 0.6f;

  auto rays = std::make_unique<DS_GodRayConstructor>();
  rays->name = u"Moonlight";
  rays->count.SetValue(5);
  rays->size.SetValue(70);
  rays->blendMode.SetValue(1);
  rays->colour.SetValue(0xFFE8D0);
  rays->transparency.SetValue(55);
  rays->pulseRate = 0.15f;
  rays->pulseMin = 0.25f;
  rays->pulseMax = 0.9f;
  rays->picture = DS_ImageFileLink(u"glimres.dll", 76);
  rays->left = 0.1f;
  rays->right = 0.6f;

  auto discharge = std::make_unique<DS_DischargeFXConstructor>();
  discharge->name = u"Discharge";
  discharge->count.SetValue(9);
  discharge->size.SetValue(30);
  discharge->startPoint.SetValue(D3DXVECTOR3(390.0f, 30.0f, 0.0f));
  discharge->endPoint.SetValue(D3DXVECTOR3(470.0f, 150.0f, 0.0f));
  discharge->glowStrength.SetValue(80);
  discharge->secondPicture = DS_ImageFileLink(u"glimres.dll", 95);

  // The renderer draws the slide's objects from the last to the first.
  slide.savedObjects.push_back(std::move(discharge));
  slide.savedObjects.push_back(std::move(sparkles));
  slide.savedObjects.push_back(std::move(rays));
}

}  // namespace

std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music) {
  ProjectBuilder project;
  std::map<zkw_string, DS_ImageFileLink> pictures;
  for (const NamedFile& picture : backgrounds) {
    const DS_ImageFileLink link = project.StorePicture(picture.name, picture.bytes);
    pictures.emplace(picture.name, link);
    AddPictureSlide(project, link, u"DS_2D_Light");
  }
  // The renderer kinds on the pictures that suit them: the sea seen under water, the night
  // burning along its lower edge behind a heat haze.
  const std::pair<const char16_t*, const char16_t*> kinds[] = {{u"sea.png", u"FakeUndervater"},
                                                               {u"night.png", u"DS_FlameLight"}};
  for (const auto& [name, rendererClass] : kinds) {
    if (auto found = pictures.find(name); found != pictures.end())
      AddPictureSlide(project, found->second, rendererClass);
  }
  if (auto night = pictures.find(u"night.png"); night != pictures.end())
    AddNightSpritesSlide(project, night->second);
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
