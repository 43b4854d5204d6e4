#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those matching $1), then plays the
# photo slides under /usr/bin/time -v for their peak resident size (photo_memory_probe).
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
  "$b"
done
if [[ -z "${1:-}" || "photo_memory_probe" == *"$1"* ]]; then
  echo "== photo_memory_probe"
  times=$(mktemp)
  trap 'rm -f "$times"' EXIT
  /usr/bin/time -v -o "$times" "$build/bench/photo_memory_probe"
  grep "Maximum resident set size" "$times"
fi
