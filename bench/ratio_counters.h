#pragma once

#include <benchmark/benchmark.h>

#include <string>

// The counters of a comparison with a baseline timed in the same run: each side's seconds
// summed over the iterations, reported as milliseconds an iteration under its name, and their
// ratio (ours / baseline).
inline void ReportRatio(benchmark::State& state, const std::string& oursName, double ours,
                        const std::string& baselineName, double baseline) {
  const double n = double(state.iterations());
  state.counters[oursName] = ours / n * 1e3;
  state.counters[baselineName] = baseline / n * 1e3;
  state.counters["ratio"] = baseline > 0 ? ours / baseline : 0;
}
