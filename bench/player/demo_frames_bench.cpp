// Every slide of the player's own demo at 1920 x 1080 through the real player (its frame
// callbacks and Present), frame by frame from the jump to the slide on, against two baselines
// drawn on the same context in the same run, each waiting for the GL work to finish:
// - the hand-written photo frame (one textured quad into the window, swap);
// - the slide's own frame replayed: one frame recorded from the device's GL work and drawn again
//   through plain GL (gl_frame_replay.h), the cost floor of that frame's draws.
// Counters are the processor time of the whole process (the GL driver's threads included):
//   frame_ms    mean of the player's frames       photo_ms   mean of the photo frames
//   frame       frame_ms / photo_ms               longest    the longest frame / photo_ms
//   stall       the longest frame / the slide's median frame (the first frame included)
//   replay_ms   mean of the replayed frames       replay     the player's frames after the
//                                                            recording / replay_ms
// Before each slide's row its recorded frame is printed pass by pass: the target, its size,
// clears, draws, vertices, the pixels drawn (in screens of 1920 x 1080, overdraw counted) and the
// processor time of the replayed pass with each call finished before the next, then the pixels
// and time of each effect and technique.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "player/entry/program_class_lists.h"
#include "player/frame_stalls.h"
#include "player/gl_frame_replay.h"
#include "player/hand_written_photo_frame.h"
#include "player/shell/process_memory.h"
#include "player/support/whole_demo_player.h"
#include "process_time.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
// Frames a slide plays from its jump, the frame step, and the frames before the recording.
constexpr int kFrames = 16;
constexpr double kStep = 1.0 / 30;
constexpr int kRecordAfter = 4;

struct Demo {
  std::unique_ptr<WholeDemoPlayer> player;
  GLuint photoTexture = 0;
  std::unique_ptr<HandWrittenPhotoFrame> photo;
  double time = 0.0;
};

Demo& TheDemo() {
  static Demo demo;
  return demo;
}

// A photo-sized picture as the player holds one: 2048 x 2048 (a full-HD picture stretched to
// powers of two), grainy colour fields.
GLuint MakePhotoTexture(const gfx::GlFunctions& gl) {
  constexpr int kSize = 2048;
  std::vector<uint32_t> pixels(size_t(kSize) * kSize);
  uint32_t seed = 1;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      seed = seed * 1664525u + 1013904223u;
      pixels[size_t(y) * kSize + x] =
          0xFF000000u | uint32_t(x / 8 % 256) << 16 | uint32_t(y / 5 % 256) << 8 | (seed >> 24);
    }
  GLuint texture = 0;
  gl.GenTextures(1, &texture);
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                pixels.data());
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  return texture;
}

void PrintPasses(const std::string& slide, const std::vector<GlFrameReplay::Pass>& passes) {
  constexpr double kScreen = double(kWidth) * kHeight;
  std::printf("%s: %zu passes (pixels in screens, processor ms)\n", slide.c_str(), passes.size());
  for (const GlFrameReplay::Pass& p : passes) {
    std::printf("  %-11s %4u x %-4u clears %d draws %3d vertices %7llu pixels %6.2f %7.1f ms",
                p.target.c_str(), p.width, p.height, p.clears, p.draws,
                static_cast<unsigned long long>(p.vertices), double(p.pixels) / kScreen,
                p.seconds * 1e3);
    const char* separator = ": ";
    for (const GlFrameReplay::Look& look : p.looks) {
      std::printf("%s%s %.2f %.1f", separator, look.name.c_str(), double(look.pixels) / kScreen,
                  look.seconds * 1e3);
      separator = ", ";
    }
    std::printf("\n");
  }
  std::fflush(stdout);
}

void BM_DemoSlide(benchmark::State& state, size_t slide) {
  Demo& demo = TheDemo();
  WholeDemoPlayer& player = *demo.player;
  gfx::Device& device = *player.Device();
  const auto finish = [&] { device.Gl().Finish(); };
  for (auto _ : state) {
    player.Scene().JumpTo(unsigned(slide));
    GlFrameReplay replay(device);
    bool recorded = false;
    std::vector<double> ours;
    double oursAfter = 0, photo = 0, replayed = 0;
    int after = 0;
    for (int k = 0; k < kFrames; ++k) {
      if (k == kRecordAfter) {
        // An extra frame, not timed, whose GL work is recorded.
        demo.time += kStep;
        replay.BeginCapture();
        player.Frame(demo.time);
        finish();
        recorded = replay.EndCapture();
        device.ResetGlStateCache();
        if (recorded) {
          // The driver makes shader variants at their first draws, those that count pixels
          // apart: the timed and the counted replays are each drawn once before.
          replay.Draw();
          (void)replay.MeasurePasses();
          PrintPasses(player.SlideName(slide), replay.MeasurePasses());
          device.ResetGlStateCache();
        }
      }
      demo.time += kStep;
      const double t0 = ProcessSeconds();
      player.Frame(demo.time);
      finish();
      const double t1 = ProcessSeconds();
      demo.photo->Draw();
      device.ResetGlStateCache();
      const double t2 = ProcessSeconds();
      ours.push_back(t1 - t0);
      photo += t2 - t1;
      if (recorded && k >= kRecordAfter) {
        replay.Draw();
        device.ResetGlStateCache();
        replayed += ProcessSeconds() - t2;
        oursAfter += t1 - t0;
        ++after;
      }
    }
    const double mean = [&] {
      double sum = 0;
      for (double v : ours)
        sum += v;
      return sum / double(ours.size());
    }();
    const FrameStalls stalls = FrameStalls::Of(ours);
    const double photoMean = photo / kFrames;
    state.counters["frame_ms"] = mean * 1e3;
    state.counters["photo_ms"] = photoMean * 1e3;
    state.counters["frame"] = mean / photoMean;
    state.counters["longest"] = stalls.longest / photoMean;
    state.counters["stall"] = stalls.Ratio();
    if (after > 0 && replayed > 0) {
      state.counters["replay_ms"] = replayed / after * 1e3;
      state.counters["replay"] = oursAfter / replayed;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // As the player sets it.
  ReturnLargeBlocksToTheSystem();
  RegisterProgramClasses();
  Demo& demo = TheDemo();
  demo.player = std::make_unique<WholeDemoPlayer>(kWidth, kHeight);
  if (!demo.player->Ready()) {
    std::fprintf(stderr, "%s: the player did not start on a headless window\n", argv[0]);
    return 1;
  }
  // Music would be decoded on a thread of this process while the frames are timed.
  GetScenePlayer().music.Release();
  gfx::Device& device = *demo.player->Device();
  demo.photoTexture = MakePhotoTexture(device.Gl());
  demo.photo =
      std::make_unique<HandWrittenPhotoFrame>(device.Gl(), demo.photoTexture, kWidth, kHeight);
  device.ResetGlStateCache();
  demo.player->Frame(0.0);
  for (size_t i = 0; i < demo.player->Scene().slides.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "slide/%02zu", i);
    benchmark::RegisterBenchmark(name, BM_DemoSlide, i)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  demo.photo.reset();
  device.Gl().DeleteTextures(1, &demo.photoTexture);
  demo.player.reset();
  return 0;
}
