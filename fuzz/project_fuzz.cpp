// Loads arbitrary bytes as a project, as the player reads its own (the signature is not
// compared), then starts the slides, plays a few frames without a device and saves the scene.
// Inputs whose first byte is odd, other than the 0xFF that every written project begins with,
// are laid over a small valid project at the offset their next four bytes give, so that the
// search reaches the records behind the header.
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
#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_move_fx.h"
#include "fx/direction/ds_quorbel_linear.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/sky/ds_cloud_fx.h"
#include "fx/water/ds_water_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/music/ds_audio_file.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_wav_constructor.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace {

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
  // A slide of the direction, sky, water, copy and fire kinds at the values their arithmetic and
  // their links must survive: 2^32 - 1 waterfall layers, water surface values 0 and 10000, a copy
  // linked to itself and two linked to each other; modes 0 to 2 in turn.
  auto scenery = std::make_unique<DS_SlideContainer>();
  scenery->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_FX_Constructor>> more;
  auto move = std::make_unique<DS_MoveFX>();
  move->moveMode.RawValue() = 5;
  more.push_back(std::move(move));
  more.push_back(std::make_unique<DS_QuorbelLinear>());
  auto fall = std::make_unique<DS_WaterfallFX>();
  fall->layerCount.RawValue() = 0xFFFFFFFFu;
  fall->noiseAmplitude.SetValue(100);
  fall->noiseLink = DS_ImageFileLink(u"glimres.dll", 86);
  more.push_back(std::move(fall));
  auto clouds = std::make_unique<DS_CloudFX>();
  clouds->cloudLink = DS_ImageFileLink(u"glimres.dll", 87);
  clouds->perspective.flipFlag.RawValue() = 1;
  more.push_back(std::move(clouds));
  for (unsigned surface : {0u, 10000u}) {
    auto water = std::make_unique<DS_WaterFX>();
    water->surface.SetValue(surface);
    more.push_back(std::move(water));
  }
  const GUID self = GUID::Parse(u"{434F5059-0000-0000-0000-000000000001}");
  const GUID first = GUID::Parse(u"{434F5059-0000-0000-0000-000000000002}");
  const GUID second = GUID::Parse(u"{434F5059-0000-0000-0000-000000000003}");
  for (const auto& [guid, source] : {std::pair{self, self}, std::pair{first, second},
                                     std::pair{second, first}, std::pair{GUID(), GUID()}}) {
    auto copy = std::make_unique<DS_BackgroundCopy>();
    copy->guid = guid;
    copy->source.RawValue() = source;
    copy->horizontalFlag.RawValue() = 1;
    copy->rectangle.extra1.RawValue() = -7;
    more.push_back(std::move(copy));
  }
  more.push_back(std::make_unique<DS_FireFX>());
  for (size_t i = 0; i < more.size(); ++i) {
    more[i]->scale.SetValue(0);
    more[i]->mode.RawValue() = int(i % 3);
    more[i]->maskQuad.SetRect(4, 4, D3DXVECTOR3(2, 2, 0));
    scenery->savedObjects.push_back(std::move(more[i]));
  }
  root.slides.emplace_back(std::move(scenery));
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
    scene->JumpTo(1);
    scene->Render(0);
    DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
    scene->Save(out);
  } catch (const DS_Error&) {
  }
  DocumentTlsSlot::Reset();
  return 0;
}
