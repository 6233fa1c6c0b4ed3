#!/usr/bin/env bash
# Installs every Debian package needed to build, play and test the game.
# Safe to run again; runs apt-get update once per call.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  # platform libraries
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libepoxy-dev
  libassimp-dev libopenal-dev libfontconfig-dev libgl1-mesa-dri libegl1 libegl-mesa0
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev python3 time
  # fonts and desktop helpers the game uses at run time
  fonts-ipafont-gothic xfonts-base xdg-utils
  # running it like a player: virtual display, keys, screenshots, sound checks
  xvfb xdotool x11-utils imagemagick sox evilwm procps wmctrl
  # installing and packaging: .deb dependencies, validators of the desktop files and man page
  dpkg-dev fakeroot file lintian desktop-file-utils appstream mandoc
  # browser build: emscripten (with Node.js for its optimizer), terser (its JavaScript
  # minified), headless Chromium driven over DevTools, the web font's subsetter
  emscripten nodejs terser chromium python3-websocket fonttools
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
