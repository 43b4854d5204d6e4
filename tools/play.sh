#!/usr/bin/env bash
# Plays a scene: tools/play.sh [project file]
# Sets up what is missing, builds a Release scene_player and runs it. Without an argument it
# plays the demo project it carries, in a window; given a project file it plays that full screen.
# Any key closes it. Needs a graphical session.
set -euo pipefail

project=()
if [ $# -gt 0 ]; then
  if [ -e "$1" ]; then
    project=("$(realpath -- "$1")")
  else
    echo "play.sh: $1 does not exist; playing the demo instead" >&2
  fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  echo "play.sh: no display to play on: the player needs a graphical session" >&2
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
  exit 1
fi

cd "$(dirname "$0")/.."
tools/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target scene_player
status=0
"$build/scene_player" "${project[@]}" || status=$?
if [ "$status" -ne 0 ]; then
  echo "play.sh: scene_player ended with exit code $status (no usable display, or a project" \
       "it cannot open)" >&2
fi
exit "$status"
