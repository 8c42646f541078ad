#!/usr/bin/env bash
# Sets up a Debian 12 machine from nothing, builds, then runs the game or the tests.
#   tools/setup.sh run    build the release preset and start the game
#   tools/setup.sh test   build the release preset and run the whole test suite headless
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config
  libsdl2-dev libsdl2-mixer-dev libglbinding-dev rapidjson-dev libsdl2-image-dev
  libfreetype-dev libinih-dev libpng-dev libgtest-dev libgmock-dev
  libgl1-mesa-dri libegl-mesa0 fonts-firacode python3
  xvfb) # xvfb: the full-screen test needs an X server without a window manager

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

preset="${PRESET:-release}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2

case "${1:-run}" in
  run)
    build_dir=build
    [ "$preset" = release ] || build_dir="build-$preset"
    exec "$build_dir/corvalune"
    ;;
  test)
    exec ctest --preset "$preset" -j 2
    ;;
  *)
    echo "usage: tools/setup.sh [run|test]" >&2
    exit 2
    ;;
esac
