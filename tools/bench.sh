#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those matching $1), then plays the
# photo slides and the demo under /usr/bin/time -v for their peak resident size
# (photo_memory_probe, demo_memory_probe). Ends with exit code 1 when a benchmark reported a
# failure (slide_stall_bench: a slide whose longest frame passes 4 x its median).
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
  "$b" || status=1
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
