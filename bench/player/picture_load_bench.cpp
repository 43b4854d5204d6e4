// Opening a project of 20 full-HD JPEG slides to its first frame at 1920 x 1080 (load, start
// every slide, draw: what the player does before the first picture shows) against
// libjpeg-turbo's plain decode of the same 20 pictures, in the same run. Reports both times and
// their ratio (player / library); the target is a ratio of at most 3. cpu_ratio compares the
// processor time of all the process's threads over the same two spans: the player's work spread
// over several threads, which a loaded machine changes less than the elapsed times.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "plain_jpeg.h"
#include "player/photo_player.h"
#include "ratio_counters.h"
#include "tools/project_writer/photo_slides.h"

namespace {

using Clock = std::chrono::steady_clock;

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int kSlides = 20, kWidth = 1920, kHeight = 1080;

const PhotoSlides& Slides() {
  static const PhotoSlides slides = [] {
    RegisterProgramClasses();
    return WritePhotoSlides(kSlides, kWidth, kHeight);
  }();
  return slides;
}

void BM_OpenPhotoSlides(benchmark::State& state) {
  const PhotoSlides& slides = Slides();
  PhotoPlayer player(kWidth, kHeight);
  if (!player.Ready()) {
    state.SkipWithError("no headless device");
    return;
  }
  player.SetProject(slides.project);
  double ours = 0, library = 0, oursCpu = 0, libraryCpu = 0;
  for (auto _ : state) {
    const double c0 = ProcessSeconds();
    const auto t0 = Clock::now();
    if (!player.Open()) {
      state.SkipWithError("project not opened");
      return;
    }
    const auto t1 = Clock::now();
    const double c1 = ProcessSeconds();
    for (const auto& picture : slides.pictures) {
      std::vector<uint8_t> pixels;  // a new picture each time, as the player's are
      PlainJpeg(picture, pixels);
      benchmark::DoNotOptimize(pixels.data());
    }
    const auto t2 = Clock::now();
    const double c2 = ProcessSeconds();
    player.Close();
    ours += std::chrono::duration<double>(t1 - t0).count();
    library += std::chrono::duration<double>(t2 - t1).count();
    oursCpu += c1 - c0;
    libraryCpu += c2 - c1;
  }
  ReportRatio(state, "player_ms", ours, "library_ms", library);
  state.counters["cpu_ratio"] = libraryCpu > 0 ? oursCpu / libraryCpu : 0;
}

BENCHMARK(BM_OpenPhotoSlides)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
