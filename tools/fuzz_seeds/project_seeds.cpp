// Projects written by the project writer, and document bodies in their stored form.
#include "core/guid.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"
#include "platform/audio/wave_bytes.h"
#include "platform/gfx/image/dds_writer.h"
#include "platform/gfx_image/picture_bytes.h"
#include "player/music/ds_audio_file.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"
#include "player/support/body_writer.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"
#include "tools/project_writer/project_builder.h"

namespace fuzz_seeds {

namespace {

std::vector<uint8_t> Png(int width, int height, uint32_t colour) {
  return gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, width, height, 4,
                                       gfx_image_test::Words(size_t(width) * height, colour));
}

std::vector<uint8_t> OneSlide() {
  ProjectBuilder project;
  project.AddSlide(0.5f, 2.0f, 0.5f);
  return project.Write();
}

// Pictures behind three slides (one a GIF), every camera mode, a slide that stays, music.
std::vector<uint8_t> PicturesAndMusic() {
  ProjectBuilder project;
  const std::vector<uint8_t> pictures[] = {Png(8, 4, 0xFFFF0000), gfx_image_test::TwoPixelGif(true),
                                           Png(3, 5, 0x80336699)};
  const char16_t* names[] = {u"red.png", u"two.gif", u"blue.png"};
  for (int i = 0; i < 3; ++i) {
    DS_SlideContainer& slide = project.AddSlide(0.5f * float(i), 2.0f, 1.0f);
    DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
    renderer->backgroundLink = project.StorePicture(names[i], pictures[i]);
    renderer->camera.mode.RawValue() = i;
    if (i == 2) slide.mode.SetValueSilently(DS_SlideContainer::kStays);
  }
  project.AddTrack(u"Song", u"C:\\Music\\song.mp3", {1, 2, 3}, 75);
  project.AddTrack(u"Other", u"other.ogg", {});
  project.Root().setting.RawValue() = 5;
  return project.Write();
}

// Sounds on every slide, one per timeline kind.
std::vector<uint8_t> Sounds() {
  ProjectBuilder project;
  for (int i = 0; i < 4; ++i) {
    DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
    auto wav = std::make_unique<DS_WAV_Constructor>();
    wav->link = project.StorePicture(u"ding" + FromUtf8(std::to_string(i)) + u".wav",
                                     wave_bytes::Tone(0.01));
    wav->timing.SetValue(i);
    slide.savedObjects.push_back(std::move(wav));
    auto mp3 = std::make_unique<DS_MP3_Constructor>();
    mp3->file.path = u"C:\\Sounds\\tone.mp3";
    mp3->file.bytes = {0xFF, 0xFB, 0x90, 0x00};
    mp3->timing.SetValue(3 - i);
    slide.savedObjects.push_back(std::move(mp3));
  }
  return project.Write();
}

// A lake with a V8U8 ripple map under its GUID, and water rings in both modes on a wide picture.
std::vector<uint8_t> LakeAndDrops() {
  ProjectBuilder project;
  const DS_ImageFileLink wide = project.StorePicture(u"wide.png", Png(12, 4, 0xFF204080));
  DS_SlideContainer& lakeSlide = project.AddSlide(0.5f, 2.0f, 0.5f, u"FakeLake2D");
  auto* lake = static_cast<FakeLake2D*>(ProjectBuilder::RendererOf(lakeSlide));
  lake->backgroundLink = wide;
  lake->bumpKey.guid = GUID::Parse(u"{4C414B45-0000-0000-0000-000000000002}");
  gfx::image::DdsImage ripples{gfx::Format::V8U8, 4, 4, {std::vector<uint8_t>(32, 0x40)}};
  project.StoreGuidPicture(lake->bumpKey.guid, gfx::image::WriteDds(ripples));
  for (int mode : {0, 1}) {
    DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f, u"DS_WaterRingLight");
    auto* drops = static_cast<DS_WaterRingLight*>(ProjectBuilder::RendererOf(slide));
    drops->backgroundLink = wide;
    drops->mode.SetValue(mode);
    drops->dropsPerMinute.SetValue(600);
    drops->rows.SetValue(50 * mode);
  }
  return project.Write();
}

// Every brush kind on a picture slide, in each mode, with mask quads, one brush with a mask
// picture under its GUID, and one aimed at a target point of its own kind.
std::vector<uint8_t> Brushes() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
  ProjectBuilder::RendererOf(slide)->backgroundLink =
      project.StorePicture(u"sea.png", Png(16, 8, 0xFF2040A0));
  std::vector<std::unique_ptr<DS_FX_Constructor>> brushes;
  brushes.push_back(std::make_unique<DS_WavesFX>());
  brushes.push_back(std::make_unique<DS_RadialWaveFX>());
  brushes.push_back(std::make_unique<DS_ExpandFX>());
  brushes.push_back(std::make_unique<DS_RotationFX>());
  brushes.push_back(std::make_unique<DS_BendFX>());
  brushes.push_back(std::make_unique<DS_QuorbelRadial>());
  brushes.push_back(std::make_unique<DS_QuorbelVortical>());
  brushes.push_back(std::make_unique<DS_PerspectiveFX>());
  brushes.push_back(std::make_unique<DS_StretchFX>());
  for (size_t i = 0; i < brushes.size(); ++i) {
    DS_FX_Constructor& brush = *brushes[i];
    brush.mode.RawValue() = int(i % 4);
    brush.maskQuad.SetRect(8, 4, D3DXVECTOR3(8, 4, 0));
    brush.angle.SetValue(unsigned(i * 10));
    // The kinds without a link of their own, from the rotation on, take effects 2101-2106.
    if (brush.effectLink.name.empty())
      brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2101 + int64_t(i) - 3);
    brush.timing.SetValue(int(i % 3));
  }
  project.StoreGuidPicture(brushes[1]->maskId, Png(4, 4, 0x80FFFFFF));
  for (auto& brush : brushes)
    slide.savedObjects.push_back(std::move(brush));
  return project.Write();
}

// The sprite presets on one slide: sparkles on a stored picture strip, god rays taking their
// picture's texture set, a discharge with its glow.
std::vector<uint8_t> SpritePresets() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 2.0f, 0.25f);
  auto sparkle = std::make_unique<DS_SparkleConstructor>();
  sparkle->count.SetValue(6);
  sparkle->size.SetValue(10);
  sparkle->pulseRate = 0.8f;
  sparkle->frameStrip = true;
  sparkle->frameCount = 2;
  sparkle->frameRate = 4.0f;
  sparkle->picture = project.StorePicture(u"strip.png", Png(8, 4, 0xFFFFFF80));
  slide.savedObjects.push_back(std::move(sparkle));
  auto ray = std::make_unique<DS_GodRayConstructor>();
  ray->count.SetValue(2);
  ray->pictureSource = 2;
  ray->horizontalFlip.SetValue(1);
  ray->picture = DS_ImageFileLink(u"glimres.dll", 76);
  slide.savedObjects.push_back(std::move(ray));
  auto discharge = std::make_unique<DS_DischargeFXConstructor>();
  discharge->count.SetValue(4);
  discharge->startPoint.SetValue(D3DXVECTOR3(5, 5, 0));
  discharge->endPoint.SetValue(D3DXVECTOR3(60, 30, 0));
  discharge->secondPicture = DS_ImageFileLink(u"glimres.dll", 95);
  slide.savedObjects.push_back(std::move(discharge));
  return project.Write();
}

// A fountain of each glow mode on a slide, its picture stored as frames, a burst beside.
std::vector<uint8_t> Particles() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f);
  const DS_ImageFileLink spot = project.StoreFramePicture(u"spot.png", Png(4, 4, 0x80FFFFFF));
  for (int glow = 0; glow < 3; ++glow) {
    auto fountain = std::make_unique<DS_PtclSmoke>();
    fountain->appearance.picture.SetValue(DS_NamedFileLinkData({spot}));
    fountain->appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    fountain->appearance.glowMode.SetValue(glow);
    fountain->appearance.size.SetValue(6);
    fountain->startSpeed.SetValue(3);
    fountain->distance.SetValue(30);
    slide.savedObjects.push_back(std::move(fountain));
  }
  auto burst = std::make_unique<ZKW_BurstPtclSys>();
  burst->count.SetValue(30);
  burst->startSpeed.SetValue(4);
  burst->distance.SetValue(40);
  burst->timing.SetValue(1);
  slide.savedObjects.push_back(std::move(burst));
  return project.Write();
}

// The path of the line seeds: three points.
void ThreePoints(SplinePath& path) {
  for (const D3DXVECTOR3& at :
       {D3DXVECTOR3(2, 6, 0), D3DXVECTOR3(10, 1, 0), D3DXVECTOR3(15, 5, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    path.AppendPoint(point, nullptr);
  }
}

// Each line and path kind on a slide, its looks drawn with a stored frame, one line multiplying
// the picture below and one waving line of no length.
std::vector<uint8_t> Lines() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f);
  const DS_ImageFileLink streak = project.StoreFramePicture(u"streak.png", Png(4, 4, 0xC0FFFFFF));
  auto dress = [&](ParticleAppearance& look) {
    look.picture.SetValue(DS_NamedFileLinkData({streak}));
    look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    look.size.SetValue(4);
  };
  auto growing = std::make_unique<ZKW_GrovingLine>();
  auto sliding = std::make_unique<ZKW_SlidingLine>();
  sliding->slideLength.SetValue(5);
  sliding->timing.SetValue(1);
  for (ZKW_StaticLineCtrl* line : {static_cast<ZKW_StaticLineCtrl*>(growing.get()),
                                   static_cast<ZKW_StaticLineCtrl*>(sliding.get())}) {
    ThreePoints(line->path);
    dress(line->lineAppearance);
    dress(line->appearance);
    line->width.SetValue(2);
    line->particlesOn.SetValue(1);
  }
  growing->lineAppearance.blend.SetValue(1);
  slide.savedObjects.push_back(std::move(growing));
  slide.savedObjects.push_back(std::move(sliding));
  for (int i = 0; i < 2; ++i) {
    auto shots = i == 0 ? std::make_unique<ZKW_ShootingLine>() : std::make_unique<ZKW_Tears>();
    ThreePoints(shots->path);
    dress(shots->lineAppearance);
    dress(shots->appearance);
    shots->shotSpeed.SetValue(20);
    shots->trailLength.SetValue(6);
    shots->width.SetValue(2);
    shots->lateralOffset.SetValue(1);
    shots->particlesOn.SetValue(1);
    slide.savedObjects.push_back(std::move(shots));
  }
  for (float reach : {12.0f, 0.0f}) {
    auto waving = std::make_unique<ZKW_WavingLine>();
    waving->start.SetValue({2, 4, 0});
    waving->end.SetValue({2 + reach, 4, 0});
    dress(waving->lineAppearance);
    dress(waving->appearance);
    waving->width.SetValue(2);
    waving->amplitude.SetValue(3);
    waving->particlesOn.SetValue(1);
    slide.savedObjects.push_back(std::move(waving));
  }
  auto path = std::make_unique<ZKW_ParticlePath>();
  ThreePoints(path->path);
  dress(path->appearance);
  path->pathSpeed.SetValue(10);
  path->lateralOffset.SetValue(2);
  slide.savedObjects.push_back(std::move(path));
  auto trace = std::make_unique<ZKW_ParticleTrace>();
  ThreePoints(trace->path);
  dress(trace->appearance);
  trace->points.SetValue(8);
  trace->lifetime.SetValue(50);
  trace->timing.SetValue(1);
  slide.savedObjects.push_back(std::move(trace));
  return project.Write();
}

}  // namespace

Seeds ProjectSeeds() {
  return {{"project-one-slide", OneSlide()},  {"project-pictures-music", PicturesAndMusic()},
          {"project-sounds", Sounds()},       {"project-lake-drops", LakeAndDrops()},
          {"project-brushes", Brushes()},     {"project-sprite-presets", SpritePresets()},
          {"project-particles", Particles()}, {"project-lines", Lines()}};
}

Seeds DocumentBodySeeds() {
  using namespace document_test;
  const GUID guid = GUID::Parse(u"{11111111-2222-3333-4444-555555555555}");
  BodyWriter body;
  body.Records({{u"glimres.dll", 7, {Record(7, u"glimres.dll", Png(4, 2, 0xFF112233))}},
                {u"mesh.x", 3, {Record(0, u"", {1, 2, 3}, u"mesh.x")}}})
      .Delays({{u"glimres.dll", 7, {0.5f, 0.25f}}})
      .Records({{u"anim.dll", 12, {Record(12, u"anim.dll", Png(2, 2, 0xFF00FF00))}}})
      .Guids({{guid, u"picture", true, Png(8, 8, 0x80FFFFFF)}})
      .Frames({{u"anim.png",
                9,
                {Frame(Png(2, 2, 0xFF0000FF), 0.1f),
                 Frame(gfx_image_test::TwoPixelGif(false), 0.2f)}}});
  const std::vector<uint8_t> bytes = body.Bytes();
  // The first byte of an input picks the version: 1 to 3 read fewer sections, 4 and 0 all five.
  Seeds out;
  for (uint8_t version : {0, 1, 2, 3, 4}) {
    std::vector<uint8_t> seed{version};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    out.push_back({"body-five-sections-v" + std::to_string(version), std::move(seed)});
  }
  return out;
}

}  // namespace fuzz_seeds
