#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those matching $1).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENE_BENCH=ON
cmake --build "$build"
for b in $(find "$build" -type f -executable -name '*_bench' | sort); do
  [[ -z "${1:-}" || "$b" == *"$1"* ]] || continue
  echo "== $(basename "$b")"
  "$b"
done
