// One frame of a photo slide at 1920 x 1080 through the player (scene update, clear, the
// background picture, the border bars, the fade, Present) against a hand-written GL program
// doing the passes the player must do on the same context with the same picture texture:
// clear the window, draw the whole picture into it as one textured quad, swap. Both wait for
// the GL work to finish. Reports the processor time of the whole process a frame (the GL
// driver's threads included) and the ratio (player / hand-written); the target is at most 1.3.
#include <benchmark/benchmark.h>

#include "player/hand_written_photo_frame.h"
#include "player/photo_player.h"
#include "process_time.h"
#include "ratio_counters.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/photo_slides.h"

namespace {

constexpr uint32_t kWidth = 1920, kHeight = 1080;

void BM_PhotoSlideFrame(benchmark::State& state) {
  PhotoPlayer player{kWidth, kHeight};
  if (!player.Ready()) {
    state.SkipWithError("no headless device");
    return;
  }
  RegisterProgramClasses();
  {
    // One slide that stays: the frames show its picture without end.
    const PhotoSlides slides = WritePhotoSlides(1, int(kWidth), int(kHeight), 1e6f);
    player.SetProject(slides.project);
  }
  if (!player.Open()) {
    state.SkipWithError("project not opened");
    return;
  }
  const DS_2D_Light* renderer = player.Scene().slides[0]->renderer.Get();
  if (renderer == nullptr || !renderer->picture.texture) {
    state.SkipWithError("no picture");
    return;
  }
  HandWrittenPhotoFrame baseline(player.Device()->Gl(), renderer->picture.texture->GlName(), kWidth,
                                 kHeight);
  double ours = 0, theirs = 0, t = 1.0;
  for (auto _ : state) {
    t += 1.0 / 60;
    const double t0 = ProcessSeconds();
    player.Frame(t);
    const double t1 = ProcessSeconds();
    baseline.Draw();
    player.Device()->ResetGlStateCache();
    const double t2 = ProcessSeconds();
    ours += t1 - t0;
    theirs += t2 - t1;
  }
  ReportRatio(state, "player_ms", ours, "handwritten_ms", theirs);
}

BENCHMARK(BM_PhotoSlideFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
