// A node-tree system of one picture node (a point group of N children of the root particle, a
// Spin effect, a fixed seed) held at 10,000 and 100,000 particles. BM_NodeTreeUpdate times the
// run-time object's Update (the tree's update and the fill of the batch's CPU copy) and reports
// it per particle, beside a baseline measured in the same run: a hand-written loop that fills as
// many 32-byte quads (positions turned by a matrix, colour, both coordinate pairs). With
// changing=1 one particle leaves every frame and the node spawns afresh every 60 frames, so the
// batch's count changes. The target in Release: at most 400 ns a particle.
#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "core/crt_rand.h"
#include "objects/headless_scene.h"
#include "particles/behaviour/effects/angle_effects.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Tree {
  explicit Tree(unsigned particles) {
    crt_srand(7);
    HeadlessScene& scene = TheHeadlessScene();
    if (!scene.device) return;
    const DS_ImageFileLink link(u"white.png", 1);
    gfx::Texture* created = nullptr;
    const std::vector<uint32_t> white(4, 0xFFFFFFFF);
    if (gfx::Failed(scene.device->CreateTexture(2, 2, 1, 0, gfx::Format::A8R8G8B8,
                                                gfx::Pool::Managed, &created)))
      return;
    const ComRef<gfx::Texture> texture(created);
    if (gfx::Failed(texture->WriteLevel(0, white.data(), 8))) return;
    LinkTextureSet& set = DocumentTlsSlot::Get()->linkTextureSets[link.Key()];
    set.textures = {texture};
    set.sourceWidth = set.sourceHeight = 2;

    ZKW_PtclSys_Constructor system;
    system.Root().Physics().position.SetValue(D3DXVECTOR3(230, 107, 0));
    auto node = std::make_unique<ZKW_PtclSysNode_Picture>();
    auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
    group->count.RawValue() = particles;
    node->SetPhysics(std::move(group));
    auto source = std::make_unique<ZKW_ImgFileTex>();
    source->links = {link};
    source->premultiplied = true;
    node->texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
    node->size.SetValue(4);
    node->effects.Insert(INT_MAX,
                         DS_SafePtr<ZKW_ParticlSystem_Effect>(
                             std::make_unique<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin>>()));
    picture = node.get();
    system.Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
    object = system.CreateRuntimeObject();
    obj = static_cast<ZKW_PtclSys_Obj*>(object.get());
    // Spread the particles over the picture so that the quads differ.
    int i = 0;
    for (ParticleHandle& p : picture->physics->particles) {
      p->Position() = D3DXVECTOR3(float(i % 200) - 100.0f, float(i / 200 % 100) - 50.0f, 0);
      ++i;
    }
  }

  size_t Live() const { return picture->physics->particles.size(); }

  std::unique_ptr<ZKW_RenderObj> object;
  ZKW_PtclSys_Obj* obj = nullptr;
  ZKW_PtclSysNode_Picture* picture = nullptr;
};

// The baseline: as many quads filled by hand, each turned by its own angle.
void FillQuads(std::vector<DX_V::PCT2>& out, size_t quads, float t) {
  DX_V::PCT2* v = out.data();
  for (size_t q = 0; q < quads; ++q, v += 4) {
    const float angle = t + float(q) * 0.001f;
    const float c = std::cos(angle) * 2.0f, s = std::sin(angle) * 2.0f;
    const float x = float(q % 200), y = float(q / 200 % 100);
    const uint32_t colour = 0xFFFFFFFFu - uint32_t(q & 0xFF);
    v[0] = {x - c - s, y - s + c, 0, colour, 0, 1, 0, 1};
    v[1] = {x - c + s, y - s - c, 0, colour, 0, 0, 0, 0};
    v[2] = {x + c - s, y + s + c, 0, colour, 1, 1, 1, 1};
    v[3] = {x + c + s, y + s - c, 0, colour, 1, 0, 1, 0};
  }
  benchmark::DoNotOptimize(out.data());
}

void BM_NodeTreeUpdate(benchmark::State& state) {
  Tree tree(unsigned(state.range(0)));
  if (tree.obj == nullptr) {
    state.SkipWithError("no headless device");
    return;
  }
  const bool changing = state.range(1) != 0;
  std::vector<DX_V::PCT2> baseline(size_t(4) * tree.Live());
  double updateSeconds = 0, baselineSeconds = 0, particles = 0;
  float t = 1.0f;
  int frame = 0;
  for (auto _ : state) {
    t += 1.0f / 60.0f;
    if (changing) {
      ParticleList& list = tree.picture->physics->particles;
      if (++frame % 60 == 0) {
        tree.obj->System().Restart();
      } else if (!list.empty()) {
        list.pop_back();
      }
    }
    const auto t0 = Clock::now();
    tree.obj->Update(t);
    const auto t1 = Clock::now();
    const size_t live = tree.Live();
    FillQuads(baseline, std::min(live, baseline.size() / 4), t);
    const auto t2 = Clock::now();
    updateSeconds += std::chrono::duration<double>(t1 - t0).count();
    baselineSeconds += std::chrono::duration<double>(t2 - t1).count();
    particles += double(live);
  }
  state.counters["live"] = particles / double(state.iterations());
  state.counters["update_ns_per_particle"] = updateSeconds / particles * 1e9;
  state.counters["baseline_ns_per_quad"] = baselineSeconds / particles * 1e9;
  state.counters["ratio"] = baselineSeconds > 0 ? updateSeconds / baselineSeconds : 0;
}
BENCHMARK(BM_NodeTreeUpdate)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->ArgNames({"particles", "changing"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
