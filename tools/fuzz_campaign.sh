#!/usr/bin/env bash
# The long, random fuzz campaign: tools/fuzz_campaign.sh [seconds] [targets...]
#
# Builds the fuzz targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in their own
# build folder, then drives each target (all by default) for `seconds` (default 1200) in
# libFuzzer's fork mode, seeded from the folders its test replays (fuzz/corpus/<target>/ and
# the rest). Working corpora, artefacts and crashes live outside the source and build trees.
# Crashes are grouped by the top frames of their stack; the first of each group is minimised.
# A summary ends the run. The exit status is 1 when any crash was found, else 0.
#
# Environment: FUZZ_WORK (working folder, default ~/.cache/vornview-fuzz), FUZZ_JOBS (parallel
# jobs per target, default half the cores), FUZZ_BUILD (build folder, default build/fuzz);
# CMAKE_BUILD_PARALLEL_LEVEL limits the build's jobs.
# To keep what a campaign found in the committed corpus (few hundred KB at most):
#   <target> -merge=1 fuzz/corpus/<target> "$FUZZ_WORK/<target>/corpus"
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-1200}
[ $# -gt 0 ] && shift
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: tools/fuzz_campaign.sh [seconds] [targets...]" >&2
  exit 2
fi
work=${FUZZ_WORK:-${XDG_CACHE_HOME:-$HOME/.cache}/vornview-fuzz}
build=${FUZZ_BUILD:-$root/build/fuzz}
cores=$(nproc)
jobs=${FUZZ_JOBS:-$((cores > 1 ? cores / 2 : 1))}

"$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSCENE_SANITIZE=ON -DSCENE_FUZZ=ON -DUNREAL_WINDOWS=OFF > /dev/null

# The fuzz targets with their programs and seed folders, as their test commands name them (a
# program that is not built yet has no command).
fuzz_tests() {
  ctest --test-dir "$build" --show-only=json-v1 | python3 -c '
import json, os, sys
for test in json.load(sys.stdin)["tests"]:
    if test["name"].startswith("fuzz."):
        command = test.get("command") or [""]
        folders = [a for a in command[1:] if not a.startswith("-") and os.path.isdir(a)]
        print("\t".join([test["name"][5:]] + command[:1] + folders))
'
}
mapfile -t known < <(fuzz_tests | cut -f1 | sort)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${known[@]}")
for t in "${targets[@]}"; do
  if ! printf '%s\n' "${known[@]}" | grep -qx -- "$t"; then
    echo "fuzz_campaign.sh: no fuzz target $t (known: ${known[*]})" >&2
    exit 2
  fi
done
cmake --build "$build" --target "${targets[@]}"
declare -A program seeds
while IFS=$'\t' read -r -a fields; do
  [ ${#fields[@]} -gt 1 ] || continue
  program[${fields[0]}]=${fields[1]}
  seeds[${fields[0]}]=$(printf '%s\t' "${fields[@]:2}")
done < <(fuzz_tests)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if symbolizer=$(command -v llvm-symbolizer); then export ASAN_SYMBOLIZER_PATH=$symbolizer; fi
limits=(-timeout=10 -rss_limit_mb=2048)

# The first frames of the first stack in a report that belong to the program, not to the
# sanitizers, libFuzzer or the C library.
top_frames() {
  grep -E '^ *#[0-9]+ 0x[0-9a-f]+ in ' |
    sed -E 's/^ *#[0-9]+ 0x[0-9a-f]+ in //; s/ \(BuildId: [0-9a-f]+\)$//; s/ \([^ ]+\+0x[0-9a-f]+\)$//;
            s/ [^ ]+(:[0-9]+)+$//' |
    grep -vE '^(__asan|__sanitizer|__ubsan|__interceptor|__lsan|__libc|__GI_|__assert|__pthread)' |
    grep -vE '^(fuzzer::|abort|raise|gsignal|_start|malloc|calloc|realloc|free|operator (new|delete))' |
    head -n 3 || true
}

summary=()
found=0
for t in "${targets[@]}"; do
  exe=${program[$t]}
  IFS=$'\t' read -r -a folders <<< "${seeds[$t]}"
  dir=$work/$t
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/crashes" "$dir/logs"
  log=$dir/logs/$(date +%Y%m%d-%H%M%S).log
  before=$(find "$dir/corpus" -type f | wc -l)
  echo "== $t: $seconds s, $jobs jobs, log $log"
  (cd "$dir" && "$exe" -fork="$jobs" -max_total_time="$seconds" "${limits[@]}" \
    -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -print_final_stats=1 \
    "-artifact_prefix=$dir/artifacts/" "$dir/corpus" "${folders[@]}") > "$log" 2>&1 || true
  after=$(find "$dir/corpus" -type f | wc -l)
  stats=$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true)
  execs=$(sed -E 's/^#([0-9]+):.*/\1/' <<< "$stats")

  crashes=()
  for artefact in "$dir"/artifacts/{crash,leak,timeout,oom}-*; do
    [ -f "$artefact" ] || continue
    kind=$(basename "$artefact" | cut -d- -f1)
    report=$("$exe" "${limits[@]}" "$artefact" 2>&1 || true)
    frames=$(top_frames <<< "$report")
    [ -n "$frames" ] || frames="unreproduced $(sha1sum < "$artefact" | cut -c1-12)"
    signature=$(printf '%s\n%s\n' "$kind" "$frames" | sha1sum | cut -c1-12)
    group=$dir/crashes/$kind-$signature
    if [ ! -d "$group" ]; then
      mkdir -p "$group"
      printf '%s\n' "$frames" > "$group/frames.txt"
      printf '%s\n' "$report" > "$group/report.txt"
      cp "$artefact" "$group/input"
      "$exe" -minimize_crash=1 -max_total_time=60 "${limits[@]}" \
        "-exact_artifact_path=$group/minimized" "$artefact" > "$group/minimize.log" 2>&1 || true
      crashes+=("$group")
    fi
    mv "$artefact" "$group/"
  done
  found=$((found + ${#crashes[@]}))
  line="$t: ${seconds}s, ${execs:-?} execs, $((after - before)) new corpus units ($after in all), ${#crashes[@]} new unique crashes"
  for c in "${crashes[@]}"; do
    line+=$'\n'"    $c ($(head -n 1 "$c/frames.txt"))"
  done
  summary+=("$line")
done

echo
echo "== Summary (work folder $work)"
printf '%s\n' "${summary[@]}"
[ "$found" -eq 0 ]
