// Every slide of the demo at 1920 x 1080 through the player, in show order: the jump to the slide
// (as a link click makes it; a timed change restarts the slide the same way) and the slide's
// first frame, then frames 1/30 s of scene time apart, each timed on the wall clock with its GL
// work finished. Reports per slide the first, median and longest frame in milliseconds and the
// stall ratio (longest / median). A slide whose ratio passes 4 shows a frozen picture: its
// benchmark is labelled STALL, stderr names it at the end and the program ends with exit code 1.
//
// Run it pinned as the player runs on a small machine, e.g. LP_NUM_THREADS=2 taskset -c 4,5.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "player/entry/program_class_lists.h"
#include "player/frame_stalls.h"
#include "player/shell/process_memory.h"
#include "player/shell/scene_player.h"
#include "player/support/whole_demo_player.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kFramesPerSlide = 12;
constexpr double kFrameStep = 1.0 / 30;

double sceneTime = 0.0;
std::vector<std::string> failures;

// Wall-clock seconds of `work` with the GL work it queued finished.
template <class Work>
double Timed(WholeDemoPlayer& player, Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  player.Device()->Gl().Finish();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PlaySlide(benchmark::State& state, WholeDemoPlayer& player, size_t index) {
  std::vector<double> frames;
  for (auto _ : state) {
    frames.clear();
    for (int i = 0; i < kFramesPerSlide; ++i) {
      sceneTime += kFrameStep;
      frames.push_back(Timed(player, [&] {
        if (i == 0) player.Scene().JumpTo(unsigned(index));
        player.Frame(sceneTime);
      }));
    }
    double total = 0;
    for (const double f : frames)
      total += f;
    state.SetIterationTime(total);
  }
  const FrameStalls stalls = FrameStalls::Of(frames);
  state.counters["first_ms"] = stalls.first * 1e3;
  state.counters["median_ms"] = stalls.median * 1e3;
  state.counters["longest_ms"] = stalls.longest * 1e3;
  state.counters["stall"] = stalls.Ratio();
  // A label rather than an error: every slide keeps its figures in every output format.
  std::string failure;
  if (player.Scene().currentSlide != player.Scene().slides[index]) {
    failure = "the slide did not show";
  } else if (stalls.Stalls()) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.1f", stalls.Ratio());
    failure = std::string("STALL: longest frame ") + ratio + " x the median";
  }
  if (!failure.empty()) {
    state.SetLabel(failure);
    failures.push_back(player.SlideName(index) + ": " + failure);
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  ReturnLargeBlocksToTheSystem();
  RegisterProgramClasses();
  auto player = std::make_unique<WholeDemoPlayer>(kWidth, kHeight);
  if (!player->Ready()) {
    std::fprintf(stderr, "%s: the player did not start on a headless window\n", argv[0]);
    return 2;
  }
  // Music would be decoded on a thread of this process while the frames are timed.
  GetScenePlayer().music.Release();
  player->Frame(sceneTime);  // start-up's first frame
  for (size_t i = 0; i < player->Scene().slides.size(); ++i) {
    if (!player->Scene().slides[i] || !player->Scene().slides[i]->Playable()) continue;
    benchmark::RegisterBenchmark(
        player->SlideName(i).c_str(),
        [&player, i](benchmark::State& state) { PlaySlide(state, *player, i); })
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  player.reset();
  for (const std::string& failure : failures)
    std::fprintf(stderr, "%s\n", failure.c_str());
  return failures.empty() ? 0 : 1;
}
