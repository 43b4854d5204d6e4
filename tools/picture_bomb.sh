#!/usr/bin/env bash
# Measures the player's peak resident size on a picture bomb: tools/picture_bomb.sh [seconds]
# Builds a Release scene_player and a project of six grey 8192 x 8192 PNGs (about a megabyte;
# write_picture_bomb), plays it headless (SDL's offscreen driver, no sound card) under
# /usr/bin/time -v, ends the player after `seconds` (20 by default: loading and all six slides)
# and prints the peak resident size. Pictures are scaled to the device's largest texture when
# loaded; the target is a peak well under 1.5 GB.
set -euo pipefail
seconds=${1:-20}
cd "$(dirname "$0")/.."
tools/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target scene_player write_picture_bomb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/write_picture_bomb" "$work/bomb.bin"
# The player takes SIGTERM as a request to quit; KILL follows if it does not within 10 s.
status=0
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy /usr/bin/time -v -o "$work/time.txt" \
  timeout -s TERM -k 10 "$seconds" "$build/scene_player" "$work/bomb.bin" || status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 124 ]; then
  echo "picture_bomb.sh: scene_player ended with exit code $status" >&2
  cat "$work/time.txt" >&2
  exit 1
fi
peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
echo "peak resident size: $((peak_kb / 1024)) MiB over ${seconds} s"
