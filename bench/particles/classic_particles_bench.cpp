// A fountain held at 10,000 and 100,000 live particles. BM_FountainUpdate times a frame's
// Update (the particles' routines, the emission and the fill of the batch's CPU copy) and
// reports it per particle, beside a baseline measured in the same run: a loop that writes as
// many quads (positions, colour, texture coordinates) into memory. The target is at most 150 ns
// a particle, with no allocation in a frame ("allocations_per_frame" counts the program's
// operator new calls during the timed updates). BM_FountainDraw times the headless draw of the
// filled batch and reports how many draws the device's frame log shows (100,000 quads: 7 blocks
// of at most 16,384).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "core/startup/thread_slots.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/render/render_context.h"

// Every allocation through operator new is counted.
std::atomic<uint64_t> allocations{0};

void* operator new(size_t bytes) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(bytes != 0 ? bytes : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t bytes, std::align_val_t alignment) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  const auto align = static_cast<size_t>(alignment);
  if (void* p = std::aligned_alloc(align, (bytes + align - 1) / align * align)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept {
  std::free(p);
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrame = 1.0 / 60.0;
constexpr float kLifetime = 2.0f;

// A headless device, a document with a white picture and effect 202, and a fountain whose rate
// keeps `particles` alive: particles / lifetime a second, each living two seconds.
struct Fixture {
  explicit Fixture(int particles) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    RegisterProgramClasses();
    if (gfx::Failed(gfx::Device::CreateHeadless(256, 256, device.Put()))) return;
    GetDeviceValues() = DeviceValues{device.Get(), 256, 256};
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    RenderContextTlsSlot::Set(&context);

    const DS_ImageFileLink link(u"white.png", 1);
    gfx::Texture* texture = nullptr;
    if (gfx::Failed(
            device->CreateTexture(2, 2, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, &texture)))
      return;
    const std::vector<uint32_t> white(4, 0xFFFFFFFF);
    if (gfx::Failed(texture->WriteLevel(0, white.data(), 8))) return;
    LinkTextureSet& set = DocumentTlsSlot::Get()->linkTextureSets[link.Key()];
    set.textures = {ComRef<gfx::Texture>(texture)};
    set.sourceWidth = set.sourceHeight = 2;

    ZKW_FontainPtclSys fountain;
    fountain.appearance.picture.SetValue(DS_NamedFileLinkData({link}));
    fountain.appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    fountain.appearance.size.SetValue(4);
    fountain.appearance.opacityEnvelope.fallStart.SetValue(60);
    fountain.emitter.point.RawValue() = {128, 200, 0};
    fountain.sector.SetValue(90);
    fountain.sector.spread.SetValue(40);
    fountain.startSpeed.SetValue(10);  // 40 units a second
    fountain.distance.SetValue(80);    // for two seconds
    fountain.counter.rate.SetValue(unsigned(particles / kLifetime / 0.2f));
    object = fountain.CreateRuntimeObject();
    mech = static_cast<ZKW_ParticleSystemMech*>(object.get());
    // Past the pre-warm, a lifetime more, so that births and deaths balance.
    for (int i = 0; i < int(kLifetime / kFrame) + 10; ++i)
      Step();
  }

  ~Fixture() {
    object.reset();
    RenderContextTlsSlot::Set(nullptr);
    DocumentTlsSlot::Reset();
    GetDeviceValues() = DeviceValues{};
  }

  void Step() {
    t += kFrame;
    mech->Update(float(t));
  }

  size_t Live() const { return mech->ctrl->particles.size(); }

  gfx::ComPtr<gfx::Device> device;
  RenderContext context;
  std::unique_ptr<ZKW_RenderObj> object;
  ZKW_ParticleSystemMech* mech = nullptr;
  double t = 1.0;
};

// The baseline: as many quads written into memory as the batch holds.
void WriteQuads(std::vector<DX_V::PCT>& out, size_t quads, int frame) {
  DX_V::PCT* v = out.data();
  for (size_t q = 0; q < quads; ++q, v += 4) {
    const float x = float((q * 37 + size_t(frame)) % 250), y = float((q * 53) % 250);
    const uint32_t c = 0xC0FFFFFFu - uint32_t(q & 0xFF);
    v[0] = {x, y + 4, 0, c, 0, 1};
    v[1] = {x, y, 0, c, 0, 0};
    v[2] = {x + 4, y + 4, 0, c, 1, 1};
    v[3] = {x + 4, y, 0, c, 1, 0};
  }
  benchmark::DoNotOptimize(out.data());
}

void BM_FountainUpdate(benchmark::State& state) {
  Fixture f(int(state.range(0)));
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  std::vector<DX_V::PCT> baseline(size_t(4) * f.Live() * 2);
  double updateSeconds = 0, baselineSeconds = 0, particles = 0;
  uint64_t frameAllocations = 0;
  int frame = 0;
  for (auto _ : state) {
    const uint64_t before = allocations.load(std::memory_order_relaxed);
    const auto t0 = Clock::now();
    f.Step();
    const auto t1 = Clock::now();
    frameAllocations += allocations.load(std::memory_order_relaxed) - before;
    const size_t live = f.Live();
    WriteQuads(baseline, std::min(live, baseline.size() / 4), ++frame);
    const auto t2 = Clock::now();
    updateSeconds += std::chrono::duration<double>(t1 - t0).count();
    baselineSeconds += std::chrono::duration<double>(t2 - t1).count();
    particles += double(live);
  }
  state.counters["live"] = particles / double(state.iterations());
  state.counters["allocations_per_frame"] = double(frameAllocations) / double(state.iterations());
  state.counters["update_ns_per_particle"] = updateSeconds / particles * 1e9;
  state.counters["baseline_ns_per_quad"] = baselineSeconds / particles * 1e9;
  state.counters["ratio"] = baselineSeconds > 0 ? updateSeconds / baselineSeconds : 0;
}
BENCHMARK(BM_FountainUpdate)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FountainDraw(benchmark::State& state) {
  Fixture f(int(state.range(0)));
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  ComRef<gfx::Effect> effect =
      DocumentTlsSlot::Get()->GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202));
  f.device->EnableFrameLog(true);
  size_t draws = 0;
  for (auto _ : state) {
    f.device->EnableFrameLog(false);
    f.device->EnableFrameLog(true);
    f.device->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
    f.mech->DrawBatch(effect.Get(), "BlendNormal", 0);
    f.device->Gl().Finish();
    draws = 0;
    for (const gfx::FrameLogEntry& entry : f.device->CurrentFrameLog())
      draws += entry.kind == gfx::FrameLogEntry::Kind::Draw;
  }
  state.counters["quads"] = double(f.mech->quadCounts[0]);
  state.counters["draw_runs"] = double(draws);
}
BENCHMARK(BM_FountainDraw)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
