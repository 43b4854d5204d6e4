// Loads arbitrary bytes as a project, as the player reads its own (the signature is not
// compared), then starts the slides, plays a few frames of each without a device and saves the
// scene.
// Inputs whose first byte is odd, other than the 0xFF that every written project begins with,
// are laid over a small valid project at the offset their next four bytes give, so that the
// search reaches the records behind the header.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_w.h"
#include "core/chrono/chrono_clock.h"
#include "core/ds_error.h"
#include "core/registry/read_by_name.h"
#include "core/startup/thread_slots.h"
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
#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/music/ds_audio_file.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_wav_constructor.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace {

// A slide with a continuous description of every burst and fountain kind, each with a picture,
// the particles' effect, a glow of its own and older-layout features switched on, so that the
// search reaches every field of their records.
std::unique_ptr<DS_SlideContainer> ParticleSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<ZKW_BurstPtclSys>> kinds;
  kinds.push_back(std::make_unique<ZKW_BurstPtclSys>());
  kinds.push_back(std::make_unique<ZKW_FontainPtclSys>());
  kinds.push_back(std::make_unique<DS_PtclFire>());
  kinds.push_back(std::make_unique<DS_PtclFireStream>());
  kinds.push_back(std::make_unique<DS_PtclSmoke>());
  kinds.push_back(std::make_unique<DS_WaterJet>());
  kinds.push_back(std::make_unique<DS_LightBeams>());
  int i = 0;
  for (auto& kind : kinds) {
    ParticleAppearance& look = kind->appearance;
    DS_NamedFileLinkData picture({DS_ImageFileLink(u"spark.png", 3)});
    picture.valueA = 2;
    picture.valueB = 2;
    look.picture.SetValue(picture);
    look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    look.size.SetValue(10);
    look.glowMode.SetValue(i % 3);
    look.colorSet.mode1.SetValue(i % 3);
    look.orientation.SetValue(i % 3);
    look.spinSpeed.SetValue(20);
    look.flags = 0x1F;
    look.gravityDirection.SetValue(1 + i % 2);
    look.airResistance.SetValue(10);
    look.opacityOscillation.mode.SetValue(1 + i % 2);
    look.sizeOscillation.mode.SetValue(2 - i % 2);
    kind->emitter.point.RawValue() = {float(10 * i), 20.0f, 0.0f};
    kind->count.SetValue(20);
    kind->startSpeed.SetValue(5);
    kind->distance.SetValue(50);
    kind->spatial.SetValue(i % 2);
    kind->focus.SetValue(i % 2);
    kind->scatterRadius.SetValue(4);
    kind->sector.spread.SetValue(30);
    if (auto* fountain = dynamic_cast<ZKW_FontainPtclSys*>(kind.get()))
      fountain->counter.rate.SetValue(50);
    slide->savedObjects.emplace_back(std::move(kind));
    ++i;
  }
  return slide;
}

// Drifting copies of size 0 whose stored "mesh" is no .x data and whose picture no picture.
std::unique_ptr<DS_3D_in_2D_array_Constructor> BrokenLeaves(uint32_t count) {
  auto leaves = std::make_unique<DS_3D_in_2D_array_Constructor>();
  leaves->count.RawValue() = count;
  leaves->mesh.path = u"leaf.x";
  leaves->mesh.bytes = {'x', 'o', 'f', ' ', '0', '3'};
  leaves->picture.path = u"leaf.png";
  leaves->picture.bytes = {0x89, 'P', 'N', 'G'};
  leaves->drift.size.RawValue() = 0;
  leaves->drift.swayFrequency.RawValue() = 3;
  leaves->drift.sway.RawValue() = 20;
  leaves->drift.SetDirection(270);
  return leaves;
}

// A slide of the 3D models at the values their arithmetic must survive: broken drifting
// copies, butterflies of size 0 on the library's meshes, and a clock on them.
std::unique_ptr<DS_SlideContainer> ModelSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  slide->savedObjects.emplace_back(BrokenLeaves(6));
  auto butterflies = std::make_unique<DS_ButterflyConstructor>();
  butterflies->count.RawValue() = 3;
  butterflies->size.RawValue() = 0;
  butterflies->wingScale = 0.5f;
  slide->savedObjects.emplace_back(std::move(butterflies));
  auto clock = std::make_unique<DS_ClockConstructor>();
  clock->size.RawValue() = 80;
  clock->clockRect.extra1.RawValue() = 40;
  clock->clockRect.extra2.RawValue() = 40;
  slide->savedObjects.emplace_back(std::move(clock));
  return slide;
}

// Drifting copies with the largest stored count, on a slide of their own that is started
// (its objects made, and their count capped) but not played: updating the capped number of
// copies every frame would slow every run of the template down.
std::unique_ptr<DS_SlideContainer> CountSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  slide->savedObjects.emplace_back(BrokenLeaves(0xFFFFFFFFu));
  return slide;
}

std::vector<uint8_t> TemplateProject() {
  DS_SlideShow_Light root;
  for (int i = 0; i < 3; ++i) {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->fadeIn.RawValue() = 0.5f * float(i);
    slide->mode.RawValue() = i == 2 ? DS_SlideContainer::kStays : 0;
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
    slide->renderer->camera.mode.RawValue() = i;
    slide->renderer->backgroundLink = DS_ImageFileLink(u"picture.png", 7);
    // An object description on every slide, so that the search reaches the description, the
    // timeline kinds (continuous, random, manual) and the sound records behind them.
    auto sound = std::make_unique<DS_WAV_Constructor>();
    sound->timing.SetValue(i);
    slide->savedObjects.emplace_back(std::move(sound));
    root.slides.emplace_back(std::move(slide));
  }
  // The renderer kinds with records of their own (an embedded brush's among them). The water
  // ring's grid sizes lie in the data, so that the search reaches every size of grid.
  for (const char16_t* kind :
       {u"FakeUndervater", u"DS_FlameLight", u"FakeLake2D", u"DS_WaterRingLight"}) {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), kind));
    if (auto* lake = dynamic_cast<FakeLake2D*>(slide->renderer.Get()))
      lake->bumpKey.guid = GUID::Parse(u"{4C414B45-0000-0000-0000-000000000001}");
    if (auto* drops = dynamic_cast<DS_WaterRingLight*>(slide->renderer.Get())) {
      drops->mode.RawValue() = 1;
      drops->resolution.RawValue() = 100;
      drops->rows.RawValue() = 100;
    }
    root.slides.emplace_back(std::move(slide));
  }
  // A slide of every brush kind, each at the values its arithmetic must survive: a scale of 0,
  // an ellipse ratio of 0 and bands (wave lengths, ring stretch) of 0; modes 0 to 2 in turn.
  auto brushes = std::make_unique<DS_SlideContainer>();
  brushes->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_FX_Constructor>> kinds;
  auto waves = std::make_unique<DS_WavesFX>();
  waves->wavelength.SetValue(0);
  kinds.push_back(std::move(waves));
  auto rings = std::make_unique<DS_RadialWaveFX>();
  rings->wavelength.SetValue(0);
  rings->ringStretch.SetValue(0);
  kinds.push_back(std::move(rings));
  kinds.push_back(std::make_unique<DS_ExpandFX>());
  kinds.push_back(std::make_unique<DS_RotationFX>());
  kinds.push_back(std::make_unique<DS_BendFX>());
  kinds.push_back(std::make_unique<DS_QuorbelRadial>());
  kinds.push_back(std::make_unique<DS_QuorbelVortical>());
  kinds.push_back(std::make_unique<DS_PerspectiveFX>());
  kinds.push_back(std::make_unique<DS_StretchFX>());
  for (size_t i = 0; i < kinds.size(); ++i) {
    kinds[i]->scale.SetValue(0);
    kinds[i]->mode.RawValue() = int(i % 3);
    kinds[i]->maskQuad.SetRect(4, 4, D3DXVECTOR3(2, 2, 0));
    brushes->savedObjects.push_back(std::move(kinds[i]));
  }
  root.slides.emplace_back(std::move(brushes));
  // The sprite presets: a sparkle, a god ray and a discharge on pictures of the player's own, so
  // that the search reaches every version branch of the preset record and the glow kinds.
  {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
    auto sparkle = std::make_unique<DS_SparkleConstructor>();
    sparkle->count.RawValue() = 4;
    sparkle->size.RawValue() = 8;
    sparkle->pulseRate = 0.5f;
    sparkle->frameStrip = true;
    sparkle->frameCount = 2;
    sparkle->frameRate = 5.0f;
    sparkle->picture = DS_ImageFileLink(u"glimres.dll", 79);
    slide->savedObjects.emplace_back(std::move(sparkle));
    auto ray = std::make_unique<DS_GodRayConstructor>();
    ray->count.RawValue() = 2;
    ray->pictureSource = 1;
    ray->picture = DS_ImageFileLink(u"glimres.dll", 76);
    ray->secondPicture = DS_ImageFileLink(u"glimres.dll", 75);
    slide->savedObjects.emplace_back(std::move(ray));
    auto discharge = std::make_unique<DS_DischargeFXConstructor>();
    discharge->count.RawValue() = 3;
    discharge->startPoint.RawValue() = D3DXVECTOR3(10.0f, 10.0f, 0.0f);
    discharge->endPoint.RawValue() = D3DXVECTOR3(90.0f, 40.0f, 0.0f);
    slide->savedObjects.emplace_back(std::move(discharge));
    root.slides.emplace_back(std::move(slide));
  }
  root.slides.emplace_back(ParticleSlide());
  root.slides.emplace_back(ModelSlide());
  root.slides.emplace_back(CountSlide());
  auto track = std::make_unique<DS_AudioFile>();
  track->file = {u"track.ogg", {1, 2, 3}};
  root.playlist.emplace_back(std::move(track));
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteWideString(kProjectSignature);
  archive.io().WriteDword(1);
  root.Save(archive);
  DS_DocResManager().Save(archive);
  return static_cast<DS_IOF_W&>(archive.io()).TakeBytes();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterProgramClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> kTemplate = TemplateProject();
  static RenderContext context;
  static ChronoClock clock;
  RenderContextTlsSlot::Set(&context);
  ChronoTlsSlot::Set(&clock);

  std::vector<uint8_t> bytes(data, data + size);
  if (size >= 5 && (data[0] & 1) != 0 && data[0] != 0xFF) {
    uint32_t offset = 0;
    std::memcpy(&offset, data + 1, 4);
    bytes = kTemplate;
    offset %= bytes.size();
    const size_t n = std::min(size - 5, bytes.size() - offset);
    std::memcpy(bytes.data() + offset, data + 5, n);
  }
  try {
    std::unique_ptr<DS_SlideShow_Light> scene = LoadProjectFromMemory(bytes);
    for (const auto& slide : scene->slides)
      if (slide) slide->Start();
    for (double t : {1.0, 30.0, 30.5, 1e9})
      scene->Update(t);
    // A few frames of each of the first slides, so that every kind of the template is updated
    // and drawn (all of the template's slides but the last).
    constexpr size_t kPlayedSlides = 11;
    double t = 1e9;
    for (size_t i = 0; i < std::min(scene->slides.size(), kPlayedSlides); ++i) {
      scene->JumpTo(static_cast<unsigned>(i));
      for (int frame = 0; frame < 3; ++frame) {
        scene->Update(t += 0.1);
        scene->Render(0);
      }
    }
    DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
    scene->Save(out);
  } catch (const DS_Error&) {
  }
  DocumentTlsSlot::Reset();
  return 0;
}
