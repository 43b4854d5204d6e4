// Projects written by the project writer, and document bodies in their stored form.
#include "core/guid.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "platform/audio/wave_bytes.h"
#include "platform/gfx_image/picture_bytes.h"
#include "player/music/ds_audio_file.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"
#include "player/support/body_writer.h"
#include "renderers/light/ds_2d_light.h"
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

}  // namespace

Seeds ProjectSeeds() {
  return {{"project-one-slide", OneSlide()},
          {"project-pictures-music", PicturesAndMusic()},
          {"project-sounds", Sounds()},
          {"project-particles", Particles()}};
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
