#!/usr/bin/env bash
# Sets up what is missing and runs every test twice: first built with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, so that the fuzz targets build too; the benchmarks too, so
# that they cannot rot), then built as tools/play.sh builds the player users run (Release, the
# system's default compiler, no sanitizers). The two compilers evaluate a call's arguments in
# opposite orders and optimise differently, so a fault can pass one run and fail the other.
# Each run ends with CTest's summary; the command fails when either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

build=build/test
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSCENE_SANITIZE=ON -DSCENE_FUZZ=ON -DSCENE_BENCH=ON
cmake --build "$build"

# The Release build in the folder tools/play.sh uses. The Windows plug-in is cross-built and
# checked under wine by the first run only.
release=build/release
cmake -S . -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DUNREAL_WINDOWS=OFF > /dev/null
cmake --build "$release"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs=$(nproc)
failed=()
echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer ($build)"
ctest --test-dir "$build" --output-on-failure -j "$jobs" || failed+=("sanitizer build")
echo "== Tests of the Release build ($release)"
ctest --test-dir "$release" --output-on-failure -j "$jobs" || failed+=("Release build")
if [ ${#failed[@]} -gt 0 ]; then
  echo "test.sh: tests failed in: ${failed[*]}" >&2
  exit 1
fi
echo "test.sh: every test passed in both builds"
