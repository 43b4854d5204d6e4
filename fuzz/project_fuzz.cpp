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
#include "renderers/light/ds_2d_light.h"

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
  // The renderer kinds with records of their own (an embedded brush's among them).
  for (const char16_t* kind : {u"FakeUndervater", u"DS_FlameLight"}) {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), kind));
    root.slides.emplace_back(std::move(slide));
  }
  root.slides.emplace_back(ParticleSlide());
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
  } catch (uint32_t) {
  }
  DocumentTlsSlot::Reset();
  return 0;
}
