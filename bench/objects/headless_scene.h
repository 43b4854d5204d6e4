#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/render/render_context.h"

// What the object benchmarks draw and fill in: every class registered, a headless device of the
// player window's size, a document with a scene of that size, and a render context. One per
// program (TheHeadlessScene); `device` stays empty when no device can be made.
struct HeadlessScene {
  static constexpr uint32_t kWidth = 460, kHeight = 215;

  gfx::ComPtr<gfx::Device> device;
  RenderContext context;

  HeadlessScene() {
    RegisterProgramClasses();
    if (gfx::Failed(gfx::Device::CreateHeadless(kWidth, kHeight, device.Put()))) return;
    GetDeviceValues() = DeviceValues{device.Get(), kWidth, kHeight};
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    DocumentTlsSlot::Get()->sceneView.pictureWidth = kWidth;
    DocumentTlsSlot::Get()->sceneView.pictureHeight = kHeight;
    RenderContextTlsSlot::Set(&context);
  }
  ~HeadlessScene() {
    RenderContextTlsSlot::Set(nullptr);
    DocumentTlsSlot::Reset();
    GetDeviceValues() = DeviceValues{};
  }
};

inline HeadlessScene& TheHeadlessScene() {
  static HeadlessScene scene;
  return scene;
}

// The frame loop of a comparison: per iteration a 16 ms step of the local time t, `object(t)`
// and `baseline(t)` timed apart. Reports `count` things per iteration per second of each
// ("sparkles_per_s", "baseline_per_s") and their time ratio (object / baseline).
template <class Object, class Baseline>
void CompareWithBaseline(benchmark::State& state, uint32_t count, Object object,
                         Baseline baseline) {
  using Clock = std::chrono::steady_clock;
  double objectSeconds = 0.0, baselineSeconds = 0.0;
  float t = 0.0f;
  for (auto _ : state) {
    t += 0.016f;
    const auto t0 = Clock::now();
    object(t);
    const auto t1 = Clock::now();
    baseline(t);
    const auto t2 = Clock::now();
    objectSeconds += std::chrono::duration<double>(t1 - t0).count();
    baselineSeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  const double things = double(count) * double(state.iterations());
  state.counters["sparkles_per_s"] = objectSeconds > 0 ? things / objectSeconds : 0;
  state.counters["baseline_per_s"] = baselineSeconds > 0 ? things / baselineSeconds : 0;
  state.counters["ratio"] = baselineSeconds > 0 ? objectSeconds / baselineSeconds : 0;
}
