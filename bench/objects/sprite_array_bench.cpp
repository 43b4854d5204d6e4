// The sprite array's per-frame work against the least that work can be, in the same run:
// Update + FillVertices of N sparkles (their motion, pulse and sizes, then one quad each with
// opacity, texture edges and flips) against a baseline that writes the same N quads from a flat
// array of centres, half sizes and colours. Reports sprites per second of each and their ratio
// (sparkles / baseline time); the goal is at least 1 M sprites per second on one core. A second
// benchmark draws 100,000 quads of the array through the renderer's sprite layer.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "objects/headless_scene.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/ds_sprite_array_obj.h"
#include "renderers/light/ds_2d_light.h"

namespace {

std::unique_ptr<DS_SpriteArrayObj> Sparkles(uint32_t count) {
  DS_SparkleConstructor preset;
  preset.count.SetValue(count);
  preset.size.SetValue(12);
  preset.pulseRate = 0.5f;
  preset.picture = DS_ImageFileLink(u"glimres.dll", 79);
  return std::make_unique<DS_SpriteArrayObj>(preset.Clone());
}

// The baseline's sprite: what a quad needs, nothing more.
struct FlatSprite {
  float x, y, halfWidth, halfHeight;
  uint32_t colour;
};

void WriteFlatQuads(const std::vector<FlatSprite>& sprites, DX_V::PCT* v) {
  for (const FlatSprite& s : sprites) {
    v[0] = {s.x - s.halfWidth, s.y + s.halfHeight, 0.0f, s.colour, 0.0f, 1.0f};
    v[1] = {s.x - s.halfWidth, s.y - s.halfHeight, 0.0f, s.colour, 0.0f, 0.0f};
    v[2] = {s.x + s.halfWidth, s.y + s.halfHeight, 0.0f, s.colour, 1.0f, 1.0f};
    v[3] = {s.x + s.halfWidth, s.y - s.halfHeight, 0.0f, s.colour, 1.0f, 0.0f};
    v += 4;
  }
}

void BM_SparkleUpdateAndFill(benchmark::State& state) {
  HeadlessScene& f = TheHeadlessScene();
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  const uint32_t n = static_cast<uint32_t>(state.range(0));
  std::unique_ptr<DS_SpriteArrayObj> obj = Sparkles(n);
  std::vector<FlatSprite> flat;
  for (const SpriteRecord& s : obj->Sprites())
    flat.push_back({s.centre.x, s.centre.y, s.halfWidth, s.halfHeight, s.colour});
  PCTSpriteArray baseline;
  baseline.Reserve(n);

  CompareWithBaseline(
      state, n, [&](float t) { obj->Update(t); },
      [&](float) {
        if (DX_V::PCT* v = baseline.LockVertices()) {
          WriteFlatQuads(flat, v);
          baseline.UnlockVertices();
        }
      });
}
BENCHMARK(BM_SparkleUpdateAndFill)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One sprite-layer draw of 100,000 quads (seven blocks of 16-bit indices), finished on the GPU.
void BM_SpriteLayerDraw(benchmark::State& state) {
  HeadlessScene& f = TheHeadlessScene();
  if (!f.device) {
    state.SkipWithError("no headless device");
    return;
  }
  std::unique_ptr<DS_SpriteArrayObj> obj = Sparkles(100000);
  obj->Update(0.0f);
  DS_2D_Light renderer;
  for (auto _ : state) {
    obj->Draw(renderer);
    f.device->Gl().Finish();
  }
  state.counters["quads_per_s"] =
      benchmark::Counter(100000.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SpriteLayerDraw)->Unit(benchmark::kMillisecond);

}  // namespace
