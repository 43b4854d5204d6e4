#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those matching $1), then plays the
# photo slides and the demo under /usr/bin/time -v for their peak resident size
# (photo_memory_probe, demo_memory_probe). Ends with exit code 1 when a benchmark reported a
# failure (slide_stall_bench: a slide whose longest frame passes 4 x its median).
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
status=0
for b in $(find "$build" -type f -executable -name '*_bench' | sort); do
  [[ -z "${1:-}" || "$b" == *"$1"* ]] || continue
  echo "== $(basename "$b")"
  # The demo's frames: one row a slide, its counters as columns.
  args=()
  if [[ "$b" == *demo_frames_bench ]]; then args=(--benchmark_counters_tabular=true); fi
  "$b" "${args[@]}" || status=1
done
times=$(mktemp)
trap 'rm -f "$times"' EXIT
for probe in photo_memory_probe demo_memory_probe; do
  [[ -z "${1:-}" || "$probe" == *"$1"* ]] || continue
  echo "== $probe"
  /usr/bin/time -v -o "$times" "$build/bench/$probe"
  grep "Maximum resident set size" "$times"
done
exit $status
