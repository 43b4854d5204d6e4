#include "tools/project_writer/demo_project.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "platform/gfx/image/dds_writer.h"
#include "platform/gfx/image/picture_decoder.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"
#include "tools/project_writer/demo_brushes.h"
#include "tools/project_writer/demo_garden.h"
#include "tools/project_writer/demo_particles.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 8.0f;
constexpr int kCameraDrifts = 1;
constexpr unsigned kCameraZoomPercent = 125;

// The lake's bump map is stored under this GUID, the same on every run.
constexpr char16_t kLakeRipplesGuid[] = u"{4C414B45-5249-5050-4C45-53000000D5A1}";

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

// A 128 x 128 V8U8 bump map of lake ripples: the slopes (du, dv) of a few crossing waves, most
// of them running across the lake, at full scale where they are steepest. The waves repeat
// across the map, so that it tiles.
std::vector<uint8_t> LakeRipples() {
  constexpr uint32_t kSize = 128;
  struct Wave {
    float across, down, height, phase;  // periods over the map, relative height, start
  };
  const Wave waves[] = {
      {1, 9, 1.0f, 0.0f}, {-2, 14, 0.6f, 1.3f}, {3, 23, 0.35f, 2.1f}, {5, 4, 0.25f, 0.4f}};
  std::vector<float> du(kSize * kSize), dv(kSize * kSize);
  float steepest = 0.0f;
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      float sx = 0.0f, sy = 0.0f;
      for (const Wave& w : waves) {
        const float k = 2.0f * std::numbers::pi_v<float> / kSize;
        const float slope =
            w.height * std::cos(k * (w.across * float(x) + w.down * float(y)) + w.phase);
        sx += slope * w.across;
        sy += slope * w.down;
      }
      du[y * kSize + x] = sx;
      dv[y * kSize + x] = sy;
      steepest = std::max({steepest, std::abs(sx), std::abs(sy)});
    }
  }
  gfx::image::DdsImage map{gfx::Format::V8U8, kSize, kSize, {{}}};
  for (size_t i = 0; i < du.size(); ++i) {
    map.levels[0].push_back(
        static_cast<uint8_t>(static_cast<int8_t>(std::lround(du[i] / steepest * 127))));
    map.levels[0].push_back(
        static_cast<uint8_t>(static_cast<int8_t>(std::lround(dv[i] / steepest * 127))));
  }
  return gfx::image::WriteDds(map);
}

// The night with sprite presets over it: stars sparkling in the sky, rays of moonlight swaying
// down through it, and a discharge flickering between two points of the sky.
void AddNightSpritesSlide(ProjectBuilder& project, const DS_ImageFileLink& picture) {
  DS_SlideContainer& slide = AddPictureSlide(project, picture, u"DS_2D_Light");

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
                                      const NamedFile* music,
                                      const std::vector<NamedFile>& pictures,
                                      const std::vector<NamedFile>& meshes) {
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
  // burning along its lower edge behind a heat haze, the dawn mirrored in a rippling lake, and
  // the sea under falling drops (drawn whole and then refracted, objects and all).
  const std::pair<const char16_t*, const char16_t*> kinds[] = {{u"sea.png", u"FakeUndervater"},
                                                               {u"night.png", u"DS_FlameLight"},
                                                               {u"dawn.png", u"FakeLake2D"},
                                                               {u"sea.png", u"DS_WaterRingLight"}};
  for (const auto& [name, rendererClass] : kinds) {
    auto found = stored.find(name);
    if (found == stored.end()) continue;
    DS_2D_Light* renderer =
        ProjectBuilder::RendererOf(AddPictureSlide(project, found->second.link, rendererClass));
    if (auto* lake = dynamic_cast<FakeLake2D*>(renderer)) {
      lake->bumpKey.guid = GUID::Parse(kLakeRipplesGuid);
      project.StoreGuidPicture(lake->bumpKey.guid, LakeRipples());
    } else if (auto* drops = dynamic_cast<DS_WaterRingLight*>(renderer)) {
      drops->mode.SetValue(1);
      drops->dropsPerMinute.SetValue(150);
      drops->dropStrength.SetValue(100);
      drops->refraction.SetValue(60);
    }
  }
  // The dawn distorted by the brushes that bend a picture.
  if (auto dawn = stored.find(u"dawn.png"); dawn != stored.end()) {
    AddDistortions(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
                   dawn->second.width, dawn->second.height, radialMask);
  }
  if (auto night = stored.find(u"night.png"); night != stored.end())
    AddNightSpritesSlide(project, night->second.link);
  // The particle systems on the night, drawn with pictures of their own.
  const NamedFile* spot = Find(pictures, u"soft_spot.png");
  const NamedFile* atlas = Find(pictures, u"spark_atlas.png");
  const NamedFile* puff = Find(pictures, u"smoke_puff.png");
  if (auto night = stored.find(u"night.png");
      night != stored.end() && spot != nullptr && atlas != nullptr && puff != nullptr) {
    AddParticleSlide(project, night->second.link,
                     {project.StoreFramePicture(spot->name, spot->bytes),
                      project.StoreFramePicture(atlas->name, atlas->bytes),
                      project.StoreFramePicture(puff->name, puff->bytes)});
  }
  // The garden of 3D models on the dawn.
  if (auto dawn = stored.find(u"dawn.png"); dawn != stored.end()) {
    const NamedFile* leafMesh = Find(meshes, u"leaf.x");
    const NamedFile* leafPicture = Find(pictures, u"leaf.png");
    AddGarden(AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
              leafMesh != nullptr ? leafMesh->bytes : std::vector<uint8_t>(),
              leafPicture != nullptr ? leafPicture->bytes : std::vector<uint8_t>());
  }
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
