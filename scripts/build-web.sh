#!/usr/bin/env bash
# Builds the browser version with emscripten: the page in DIR/page/ (vorlith.html, .js, .wasm,
# .data and the fonts), the rest of the build around it.
# usage: scripts/build-web.sh [DIR]   (default build-web)
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${1:-$source_dir/build-web}"
# emcc's optimizer runs on Node.js and needs Debian's modules (acorn).
export NODE_PATH=/usr/share/nodejs
# The models are converted by the desktop's own loader: a native mesh_convert (given in
# VORLITH_MESH_CONVERT, or built here into build/ first).
mesh_convert="${VORLITH_MESH_CONVERT:-}"
if [ -z "$mesh_convert" ]; then
  # Configured as play.sh configures build/, so that either script can run after the other.
  env -u NODE_PATH cmake -S "$source_dir" -B "$source_dir/build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$source_dir/build" --target mesh_convert
  mesh_convert="$source_dir/build/tools/mesh_convert"
fi
emcmake cmake -S "$source_dir" -B "$build_dir" -DVORLITH_MESH_CONVERT="$mesh_convert" >/dev/null
cmake --build "$build_dir" -j2
