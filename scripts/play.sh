#!/usr/bin/env bash
# Installs what is needed, builds the game and starts it from data/ (its working directory).
# Arguments are passed on to the game, e.g. scripts/play.sh -w 800 -h 600
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" --target vorlith
cd "$root/data"
exec "$root/build/vorlith" "$@"
