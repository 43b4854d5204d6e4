// A generator's per-frame work against the least that work can be, in the same run: the
// Update of N sparkles (three behaviours each run on the twinkle clock, then two layers of
// turned quads written through the run-time object) against a baseline that steps a flat array
// of lives and writes the same two layers of turned quads from it. Reports particles per second
// of each and their ratio (sparkles / baseline time); the goal is at least 1 M particles per
// second on one core.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/crt_rand.h"
#include "objects/headless_scene.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_particles_obj.h"

namespace {

// N sparkles over the scene, growing over 0.5 s and shrinking over 1.5 s, spinning.
std::unique_ptr<ZKW_RenderObj> Sparkles(uint32_t count) {
  DS_Bling bling;
  bling.size.SetValue(12);
  bling.twinkleSpeed.SetValue(50);
  bling.riseTime.SetValue(50);
  bling.fallTime.SetValue(150);
  bling.spinSpeed.SetValue(20);
  crt_srand(1);
  for (uint32_t i = 0; i < count; ++i) {
    // One draw a statement: the same sparkles whatever the compiler.
    const float x = crt_rand_unit() * 460;
    const float y = crt_rand_unit() * 215;
    const float phase = crt_rand_unit();
    bling.AddParticle(D3DXVECTOR3(x, y, 0), 1.0f, 0.0f, phase, 0.0f);
  }
  return bling.CreateRuntimeObject();
}

// The baseline's particle: what a growing and shrinking turned quad needs, nothing more.
struct FlatParticle {
  float x, y, life, angle;
};

void StepAndWrite(std::vector<FlatParticle>& particles, float dt, float spin, DX_V::PCT* layer0,
                  DX_V::PCT* layer1) {
  for (FlatParticle& p : particles) {
    p.life += dt * 0.5f;
    if (p.life >= 1.0f) p.life = 0.0f;
    const float scale = p.life < 0.25f ? p.life * 4.0f : (1.0f - p.life) / 0.75f;
    const float k = 6.0f * scale, a = p.angle + spin;
    const float c = std::cos(a) * k, s = std::sin(a) * k;
    const DX_V::PCT quad[4] = {{p.x - c - s, p.y - s + c, 0, 0xFFFFFFFF, 0, 1},
                               {p.x - c + s, p.y - s - c, 0, 0xFFFFFFFF, 0, 0},
                               {p.x + c - s, p.y + s + c, 0, 0xFFFFFFFF, 1, 1},
                               {p.x + c + s, p.y + s - c, 0, 0xFFFFFFFF, 1, 0}};
    for (int i = 0; i < 4; ++i) {
      layer0[i] = quad[i];
      layer1[i] = quad[i];
    }
    layer0 += 4;
    layer1 += 4;
  }
}

void BM_SparkleUpdateAndFill(benchmark::State& state) {
  HeadlessScene& f = TheHeadlessScene();
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  const uint32_t n = static_cast<uint32_t>(state.range(0));
  std::unique_ptr<ZKW_RenderObj> obj = Sparkles(n);
  std::vector<FlatParticle> flat;
  crt_srand(1);
  for (uint32_t i = 0; i < n; ++i)
    flat.push_back({crt_rand_unit() * 460, crt_rand_unit() * 215, crt_rand_unit(), 0.0f});
  PCTSpriteArray baseline[2];
  baseline[0].Reserve(n);
  baseline[1].Reserve(n);

  CompareWithBaseline(
      state, n, [&](float t) { obj->Update(t); },
      [&](float t) {
        DX_V::PCT* v0 = baseline[0].LockVertices();
        DX_V::PCT* v1 = baseline[1].LockVertices();
        if (v0 != nullptr && v1 != nullptr) StepAndWrite(flat, 0.016f, t * 0.4f, v0, v1);
        baseline[0].UnlockVertices();
        baseline[1].UnlockVertices();
      });
}
BENCHMARK(BM_SparkleUpdateAndFill)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
