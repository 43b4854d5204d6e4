#include "tools/project_writer/demo_project.h"

#include <map>

#include "platform/gfx/image/picture_decoder.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_brushes.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 8.0f;
constexpr int kCameraDrifts = 1;
constexpr unsigned kCameraZoomPercent = 125;

// A slide on `picture` whose renderer is of `rendererClass`, the camera drifting over it.
DS_SlideContainer& AddPictureSlide(ProjectBuilder& project, const DS_ImageFileLink& picture,
                                   const char16_t* rendererClass) {
  DS_SlideContainer& slide =
      project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds, rendererClass);
  DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
  if (renderer == nullptr) return slide;
  renderer->backgroundLink = picture;
  renderer->camera.mode.SetValueSilently(kCameraDrifts);
  renderer->camera.zoom.SetValue(kCameraZoomPercent);
  return slide;
}

struct StoredPicture {
  DS_ImageFileLink link;
  float width = 0.0f;
  float height = 0.0f;
};

const NamedFile* Find(const std::vector<NamedFile>& files, const zkw_string& name) {
  for (const NamedFile& file : files)
    if (file.name == name) return &file;
  return nullptr;
}

}  // namespace

std::vector<uint8_t> WriteDemoProject(const std::vector<NamedFile>& backgrounds,
                                      const NamedFile* music,
                                      const std::vector<NamedFile>& pictures) {
  ProjectBuilder project;
  const NamedFile* radialFile = Find(pictures, u"66.png");
  const std::vector<uint8_t> radialMask =
      radialFile != nullptr ? radialFile->bytes : std::vector<uint8_t>();
  std::map<zkw_string, StoredPicture> stored;
  for (const NamedFile& picture : backgrounds) {
    StoredPicture entry{project.StorePicture(picture.name, picture.bytes)};
    if (auto decoded = gfx::image::DecodePicture(picture.bytes)) {
      entry.width = static_cast<float>(decoded->width);
      entry.height = static_cast<float>(decoded->height);
    }
    stored.emplace(picture.name, entry);
    DS_SlideContainer& slide = AddPictureSlide(project, entry.link, u"DS_2D_Light");
    if (picture.name == u"sea.png")
      AddSeaWaves(project, slide, entry.width, entry.height, radialMask);
  }
  // The renderer kinds on the pictures that suit them: the sea seen under water, the night
  // burning along its lower edge behind a heat haze.
  const std::pair<const char16_t*, const char16_t*> kinds[] = {{u"sea.png", u"FakeUndervater"},
                                                               {u"night.png", u"DS_FlameLight"}};
  for (const auto& [name, rendererClass] : kinds) {
    if (auto found = stored.find(name); found != stored.end())
      AddPictureSlide(project, found->second.link, rendererClass);
  }
  // The dawn distorted by the brushes that bend a picture.
  if (auto dawn = stored.find(u"dawn.png"); dawn != stored.end()) {
    AddDistortions(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
                   dawn->second.width, dawn->second.height, radialMask);
  }
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
