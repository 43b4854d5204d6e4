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
#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
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

// An explosion that saves itself as the first version of its record did: five legacy values
// after the drift speed, which the reader turns into a random timeline.
class LegacyExplosion : public DS_ExplosionConstructor {
 public:
  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"DS_ExplosionConstructor", 1);
    DS_IOF_Virtual& io = archive.io();
    for (uint32_t value : {noiseAmount.Value(), noiseScale1.Value(), noiseScale2.Value(),
                           driftDirection.Value(), driftSpeed.Value()})
      io.WriteUInt32(value);
    for (uint32_t legacy : {50u, 300u, 70u, 100u, 20u})
      io.WriteUInt32(legacy);
    io.WriteUInt32(seed.Value());
    io.WriteInt32(randomNoise.Value());
    io.WriteDword(secondColour.Value());
    return DS_StatBaseFXCtrl::Save(archive);
  }
};

// One of each sprite preset family kind at values their arithmetic must survive: a flow whose
// four controls wrap, bounce, wait and do nothing with a wobble frequency of 0, lights over the
// whole unsigned pause range, grass swaying a right angle, a discharge of one strip frame, an
// explosion of each record version.
std::unique_ptr<DS_SlideContainer> SpriteFamiliesSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_ParticleSystemCtrl>> kinds;
  kinds.push_back(std::make_unique<DS_FishConstructor>());
  kinds.push_back(std::make_unique<DS_BirdConstructor>());
  kinds.push_back(std::make_unique<DS_GhostConstructor>());
  auto flow = std::make_unique<DS_FlowConstructor>();
  flow->speed = 300.0f;
  flow->directionAngle.RawValue() = 30;
  flow->wobbleAmplitude.RawValue() = 5;
  flow->orientationMode.RawValue() = 2;
  for (int side = 0; side < 4; ++side) {
    DS_BoundControl& control = flow->controls[size_t(side)];
    control.mode.RawValue() = side;
    control.fadeOut.RawValue() = 100u * unsigned(side);
    control.fadeIn.RawValue() = 50;
    control.shortestWait.RawValue() = 20;
    control.longestWait.RawValue() = 4294967295u;
  }
  kinds.push_back(std::move(flow));
  kinds.push_back(std::make_unique<DS_RainConstructor>());
  kinds.push_back(std::make_unique<DS_FogConstructor>());
  auto lights = std::make_unique<DS_LightingConstructor>();
  lights->pauseMin.RawValue() = 0;
  lights->pauseMax.RawValue() = 4294967295u;
  kinds.push_back(std::move(lights));
  auto grass = std::make_unique<DS_GrassConstructor>();
  grass->swayAmplitude = 90.0f;
  kinds.push_back(std::move(grass));
  auto still = std::make_unique<DS_StatObjConstructor>();
  still->rotationAngle.RawValue() = 90;
  kinds.push_back(std::move(still));
  auto crackle = std::make_unique<DS_DischargeConstructor>();
  crackle->frameStrip = true;
  crackle->frameCount = 1;
  crackle->frameRate = 30.0f;
  kinds.push_back(std::move(crackle));
  kinds.push_back(std::make_unique<DS_FlowerConstructor>());
  kinds.push_back(std::make_unique<DS_ExplosionConstructor>());
  kinds.push_back(std::make_unique<LegacyExplosion>());
  for (auto& kind : kinds) {
    kind->count.RawValue() = 2;
    kind->size.RawValue() = 10;
    kind->pulseRate = 0.5f;
    kind->picture = DS_ImageFileLink(u"glimres.dll", 2);
    if (auto* explosion = dynamic_cast<DS_ExplosionConstructor*>(kind.get())) {
      explosion->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
      explosion->picture = DS_ImageFileLink(u"glimres.dll", 66);
      explosion->secondPicture = DS_ImageFileLink(u"glimres.dll", 74);
    }
    slide->savedObjects.push_back(std::move(kind));
  }
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
  root.slides.emplace_back(SpriteFamiliesSlide());
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
    // and drawn.
    constexpr size_t kPlayedSlides = 16;
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
