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
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"
#include "tools/project_writer/demo_brushes.h"
#include "tools/project_writer/demo_festival.h"
#include "tools/project_writer/demo_garden.h"
#include "tools/project_writer/demo_garden_generators.h"
#include "tools/project_writer/demo_generators.h"
#include "tools/project_writer/demo_group.h"
#include "tools/project_writer/demo_lines.h"
#include "tools/project_writer/demo_lines_stripes.h"
#include "tools/project_writer/demo_lines_trace.h"
#include "tools/project_writer/demo_menu.h"
#include "tools/project_writer/demo_node_lines.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/demo_particles.h"
#include "tools/project_writer/demo_preset_lines.h"
#include "tools/project_writer/demo_presets.h"
#include "tools/project_writer/demo_sprites.h"
#include "tools/project_writer/demo_streams.h"
#include "tools/project_writer/demo_systems.h"
#include "tools/project_writer/demo_text_objects.h"
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

// A glass ball on its stand, swinging before a dusk gradient; the camera holds still so that the
// ball alone moves.
void ConfigureGlassBall(DS_GlassBallLight& ball) {
  ball.camera.mode.SetValueSilently(0);
  ball.speed.SetValue(150);
  ball.size.SetValue(20);
  ball.lens.SetValue(40);
  ball.lowerOn.SetValue(1);
  ball.gradientTop.SetValue(0x401808);     // deep blue
  ball.gradientBottom.SetValue(0x6040C0);  // dusky rose
}

// Green glyphs with pale heads falling over everything, the camera still.
void ConfigureGlyphs(DS_MatrixCodeLight& glyphs) {
  glyphs.camera.mode.SetValueSilently(0);
  glyphs.layer.SetValue(1);
  glyphs.cellSize.SetValue(12);
  glyphs.density.SetValue(40);
  glyphs.glyphColour.SetValue(0x50FF50);  // green
  glyphs.headColour.SetValue(0xE0FFE0);   // almost white
  glyphs.transparency.SetValue(15);
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
  }
  // The title card: the night, still, under the text objects drawn from the build's text art.
  if (auto night = stored.find(u"night.png"); night != stored.end() && HasTextArt(pictures)) {
    DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
    if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
      renderer->backgroundLink = night->second.link;
    AddTextObjects(project, slide, night->second.width, night->second.height, pictures);
  }
  for (const NamedFile& picture : backgrounds) {
    const StoredPicture& entry = stored.at(picture.name);
    DS_SlideContainer& slide = AddPictureSlide(project, entry.link, u"DS_2D_Light");
    if (picture.name == u"sea.png")
      AddSeaWaves(project, slide, entry.width, entry.height, radialMask);
    if (picture.name == u"night.png") AddFireAlongTheFoot(slide, entry.width, entry.height);
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
  // The dawn in a glass ball, then glyphs falling over the night.
  if (auto dawn = stored.find(u"dawn.png"); dawn != stored.end()) {
    auto* ball = dynamic_cast<DS_GlassBallLight*>(ProjectBuilder::RendererOf(
        AddPictureSlide(project, dawn->second.link, u"DS_GlassBallLight")));
    if (ball != nullptr) ConfigureGlassBall(*ball);
  }
  if (auto night = stored.find(u"night.png"); night != stored.end()) {
    auto* glyphs = dynamic_cast<DS_MatrixCodeLight*>(ProjectBuilder::RendererOf(
        AddPictureSlide(project, night->second.link, u"DS_MatrixCodeLight")));
    if (glyphs != nullptr) ConfigureGlyphs(*glyphs);
  }
  // The dawn distorted by the brushes that bend a picture, then recoloured and relit by those
  // that change its colours; the night worked on as a layer.
  if (auto dawn = stored.find(u"dawn.png"); dawn != stored.end()) {
    AddDistortions(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
                   dawn->second.width, dawn->second.height, radialMask);
    AddColourBrushes(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
                     dawn->second.width, dawn->second.height, radialMask);
  }
  if (auto night = stored.find(u"night.png"); night != stored.end()) {
    AddLayerBrushes(project, AddPictureSlide(project, night->second.link, u"DS_2D_Light"),
                    night->second.width, night->second.height, radialMask);
  }
  if (auto night = stored.find(u"night.png"); night != stored.end())
    AddNightSpritesSlide(project, night->second.link);
  // Pictures that objects build their textures from, each stored once as a frame for every
  // slide that draws with it.
  std::map<const NamedFile*, DS_ImageFileLink> frames;
  auto frameOf = [&](const NamedFile* file) {
    auto [at, added] = frames.try_emplace(file);
    if (added) at->second = project.StoreFramePicture(file->name, file->bytes);
    return at->second;
  };
  const NamedFile* spot = Find(pictures, u"soft_spot.png");
  const NamedFile* atlas = Find(pictures, u"spark_atlas.png");
  const NamedFile* puff = Find(pictures, u"smoke_puff.png");
  const NamedFile* drops = Find(pictures, u"drop_atlas.png");
  const NamedFile* bokeh = Find(pictures, u"bokeh_disc.png");
  const NamedFile* band = Find(pictures, u"light_band.png");
  const NamedFile* streak = Find(pictures, u"soft_streak.png");
  const NamedFile* tear = Find(pictures, u"tear_drop.png");
  const auto sea = stored.find(u"sea.png"), night = stored.find(u"night.png"),
             dawn = stored.find(u"dawn.png");
  // The particle systems on the night.
  const size_t particleSlide = project.Root().slides.size();
  if (night != stored.end() && spot != nullptr && atlas != nullptr && puff != nullptr)
    AddParticleSlide(project, night->second.link, {frameOf(spot), frameOf(atlas), frameOf(puff)});
  // The node-tree particle system on the night.
  if (const NamedFile* flare = Find(pictures, u"flare_atlas.png");
      night != stored.end() && flare != nullptr && spot != nullptr)
    AddNodeTreeSlide(project, night->second.link, {frameOf(flare), frameOf(spot)});
  if (night != stored.end() && spot != nullptr)
    AddGroupSlide(project, night->second.link, frameOf(spot));
  if (const NamedFile* flare = Find(pictures, u"flare_atlas.png");
      night != stored.end() && flare != nullptr && spot != nullptr && band != nullptr &&
      puff != nullptr) {
    AddPresetsSlide(project, night->second.link, night->second.width, night->second.height,
                    {frameOf(spot), frameOf(flare), frameOf(band), frameOf(puff)});
  }
  // Particle streams on the dawn.
  if (dawn != stored.end() && spot != nullptr && band != nullptr)
    AddStreamsSlide(project, dawn->second.link, {frameOf(spot), frameOf(band)});
  // Trails behind particles on the night (the Lines slide).
  if (night != stored.end() && spot != nullptr) {
    DS_SlideContainer& lines = AddPictureSlide(project, night->second.link, u"DS_2D_Light");
    lines.name.RawValue() = u"Lines";
    AddTraceDemo(project, lines, frameOf(spot));
  }
  // Node-tree lines on particle streams, on the dawn.
  if (dawn != stored.end() && band != nullptr)
    AddNodeLinesSlide(project, dawn->second.link, frameOf(band));
  // The ready-made particle systems: rain on the sea, the night, mist and light at dawn.
  if (sea != stored.end() && night != stored.end() && dawn != stored.end() && spot != nullptr &&
      atlas != nullptr && puff != nullptr && drops != nullptr && bokeh != nullptr &&
      band != nullptr) {
    AddParticleSystemSlides(project, sea->second.link, night->second.link, dawn->second.link,
                            {frameOf(spot), frameOf(atlas), frameOf(puff), frameOf(drops),
                             frameOf(bokeh), frameOf(band)});
  }
  // Lines on the dawn and particles along paths on the night.
  if (dawn != stored.end() && night != stored.end() && streak != nullptr && tear != nullptr &&
      spot != nullptr && atlas != nullptr) {
    const DemoLinePictures linePictures{frameOf(streak), frameOf(tear), frameOf(spot),
                                        frameOf(atlas)};
    AddLineSlide(project, dawn->second.link, linePictures);
    AddPathSlide(project, night->second.link, linePictures);
  }
  // Lightning: fractal and random stripe lines on the night.
  if (night != stored.end() && streak != nullptr) {
    DS_SlideContainer& lightning = AddPictureSlide(project, night->second.link, u"DS_2D_Light");
    lightning.name.RawValue() = u"Lightning";
    AddStripeLines(project, lightning, frameOf(streak));
  }
  // The sky and the sea alive.
  if (sea != stored.end()) {
    AddSkyAndWater(project, AddPictureSlide(project, sea->second.link, u"DS_2D_Light"),
                   sea->second.width, sea->second.height);
  }
  // The sprite preset families: creatures and fog over the sea, weather and a meadow at dawn.
  if (sea != stored.end())
    AddSeaCreatures(project, AddPictureSlide(project, sea->second.link, u"DS_2D_Light"), pictures);
  if (dawn != stored.end()) {
    AddDawnWeather(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"), pictures);
    AddDawnMeadow(project, AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"), pictures);
  }
  // The air-brush generators on the night.
  if (night != stored.end()) AddNightSkySlide(project, night->second.link);
  // The positioned generators at a festival by night.
  if (night != stored.end()) AddFestivalSlide(project, night->second.link);
  // The region and picture generators in a garden at dawn.
  if (dawn != stored.end()) AddGeneratorGardenSlide(project, dawn->second.link);
  // The garden of 3D models on the dawn.
  const size_t gardenSlide = project.Root().slides.size();
  if (dawn != stored.end()) {
    const NamedFile* leafMesh = Find(meshes, u"leaf.x");
    const NamedFile* leafPicture = Find(pictures, u"leaf.png");
    AddGarden(AddPictureSlide(project, dawn->second.link, u"DS_2D_Light"),
              leafMesh != nullptr ? leafMesh->bytes : std::vector<uint8_t>(),
              leafPicture != nullptr ? leafPicture->bytes : std::vector<uint8_t>());
  }
  // Preset-tree trails behind a swarm and a glowing curve with an inner glow, on the night.
  if (night != stored.end() && spot != nullptr && streak != nullptr) {
    DS_SlideContainer& glow = AddPictureSlide(project, night->second.link, u"DS_2D_Light");
    glow.name.RawValue() = u"Preset lines";
    AddPresetLines(project, glow, night->second.width, night->second.height,
                   {frameOf(spot), frameOf(streak)});
  }
  // The menu last, with links to the title card, the particles and the garden.
  if (night != stored.end()) {
    AddMenuSlide(project, night->second.link, night->second.width, night->second.height,
                 {0, particleSlide, gardenSlide}, pictures);
  }
  if (music != nullptr) project.AddTrack(u"Demo music", music->name, music->bytes);
  return project.Write();
}
