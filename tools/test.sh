#!/usr/bin/env bash
# Sets up what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, so that the fuzz targets build too; the benchmarks too, so that they cannot rot) and the
# Release player that tools/play.sh runs, then runs every test, ending with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

build=build/test
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSCENE_SANITIZE=ON -DSCENE_FUZZ=ON -DSCENE_BENCH=ON
cmake --build "$build"

# The player as tools/play.sh builds it (Release, the system's default compiler), so that the
# play command cannot break unnoticed.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release --target scene_player

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs=$(nproc)
ctest --test-dir "$build" --output-on-failure -j "$jobs"
