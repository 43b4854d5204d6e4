#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Idempotent and non-interactive; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  clang-format pkg-config
  libsdl2-dev libsdl2-mixer-dev libegl-mesa0 libegl-dev libgl1-mesa-dri libgl-dev libstb-dev
  libjpeg62-turbo-dev libpng-dev time
  libassimp-dev assimp-testmodels
  zlib1g-dev libssl-dev g++-mingw-w64-x86-64 wine64
  libfreetype-dev libharfbuzz-dev libglu1-mesa-dev fonts-dejavu-core
  python3 xvfb
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
