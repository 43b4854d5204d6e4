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
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
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
    constexpr size_t kPlayedSlides = 8;
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
  } catch (uint32_t) {
  }
  DocumentTlsSlot::Reset();
  return 0;
}
