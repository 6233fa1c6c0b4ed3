#!/usr/bin/env bash
# Installs what is needed, builds with sanitizers and runs every test through CTest.
# Usage: test.sh [--fast]   (--fast: all but the end-to-end, browser, package and Windows tests)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLITH_SANITIZE=ON -DVORLITH_WERROR=ON
cmake --build build-test
cd build-test
if [ "${1:-}" = --fast ]; then
  ctest --output-on-failure -j2 -LE 'e2e|web|package|windows'
else
  ctest --output-on-failure -j2
fi
