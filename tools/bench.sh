#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those matching $1), then plays the
# photo slides under /usr/bin/time -v for their peak resident size (photo_memory_probe).
# Frame timings are processor time of the whole process; for figures that compare between runs,
# pin the run and the GL driver's threads, e.g.
#   LP_NUM_THREADS=2 taskset -c 0,1 tools/bench.sh demo_frames   (the build runs pinned too)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENE_BENCH=ON
cmake --build "$build"
# The player benchmarks draw on a headless window.
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
for b in $(find "$build" -type f -executable -name '*_bench' | sort); do
  [[ -z "${1:-}" || "$b" == *"$1"* ]] || continue
  echo "== $(basename "$b")"
  # The demo's frames: one row a slide, its counters as columns.
  if [[ "$b" == *demo_frames_bench ]]; then "$b" --benchmark_counters_tabular=true; else "$b"; fi
done
if [[ -z "${1:-}" || "photo_memory_probe" == *"$1"* ]]; then
  echo "== photo_memory_probe"
  times=$(mktemp)
  trap 'rm -f "$times"' EXIT
  /usr/bin/time -v -o "$times" "$build/bench/photo_memory_probe"
  grep "Maximum resident set size" "$times"
fi
