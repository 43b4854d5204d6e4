// The band of a lightning stripe: BM_JaggedStripeOffset builds the straight-skeleton offsetter
// of a fractal curve's stripe (2^levels + 1 points, roughness 0.2, so that inner corners merge
// all along it) at a width of 3 hundredths of its length, and reports its time beside a baseline
// measured in the same run: the same offsetter over as many points on a straight line,
// where nothing merges. The ratio stays flat as the points grow from 1,025 to 32,769 when
// merging costs a logarithm a point; a scan of the whole front per merge made it grow with the
// point count. The target: the ratio at 32,769 points at most twice the one at 1,025.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "core/crt_rand.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "ratio_counters.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<D3DXVECTOR3> FractalStripe(unsigned levels) {
  crt_srand(11);
  ZKW_PtclSysPhys_FractalCurv fractal;
  fractal.levels.RawValue() = levels;
  const DS_SafePtr<ZKW_PtclSysPhys_Points> stripe = fractal.BuildStripe({});
  std::vector<D3DXVECTOR3> points;
  for (const ParticleHandle& p : stripe->particles)
    points.push_back(p->Position() * 1000.0f);
  return points;
}

double BuildSeconds(const std::vector<D3DXVECTOR3>& points) {
  const auto start = Clock::now();
  ZKW_StraightSkeletonOffset offsetter;
  offsetter.SetPoints(static_cast<unsigned>(points.size()),
                      [&points](unsigned j) -> const D3DXVECTOR3& { return points[j]; });
  offsetter.Build(30.0f);
  benchmark::DoNotOptimize(offsetter.LeftVertices().data());
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_JaggedStripeOffset(benchmark::State& state) {
  const std::vector<D3DXVECTOR3> jagged = FractalStripe(static_cast<unsigned>(state.range(0)));
  std::vector<D3DXVECTOR3> straight;
  for (size_t i = 0; i < jagged.size(); ++i)
    straight.emplace_back(1000.0f * static_cast<float>(i) / static_cast<float>(jagged.size() - 1),
                          0.0f, 0.0f);
  double ours = 0, baseline = 0;
  for (auto _ : state) {
    ours += BuildSeconds(jagged);
    baseline += BuildSeconds(straight);
  }
  ReportRatio(state, "jagged_ms", ours, "straight_ms", baseline);
  state.counters["points"] = static_cast<double>(jagged.size());
}
BENCHMARK(BM_JaggedStripeOffset)->Arg(10)->Arg(12)->Arg(15)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
