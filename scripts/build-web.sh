#!/usr/bin/env bash
# Builds the browser version with emscripten: DIR/vorlith.html, .js, .wasm and .data.
# usage: scripts/build-web.sh [DIR]   (default build-web)
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${1:-$source_dir/build-web}"
# emcc's optimizer runs on Node.js and needs Debian's modules (acorn).
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$source_dir" -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2
