#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing) and
# configures and builds into the given folder with the given CMake options.
#   scripts/setup.sh BUILD_DIR [CMAKE_OPTION ...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev libpng-dev libsdl2-dev libgif-dev libeigen3-dev libgsl-dev bc xvfb xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

build_dir="$1"
shift
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir"
