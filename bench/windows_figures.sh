#!/usr/bin/env bash
# The Windows build's figures: the zip's and the installer's sizes; the dependencies' build
# time from scratch (each library's, as the cache recorded it when it built them) and from the
# cache (build-windows.sh --deps-only with the cache in place); start-up to the first title
# frame under Wine (a windowed replay of one title frame on Xvfb, launch to exit) beside the
# Linux build's on the same display; the rate of a headless unpaced replay (boss_stage_clear,
# 5,432 frames) under Wine beside Linux's. Medians of RUNS runs, the two taking turns.
# Prints numbers; checks nothing. Usage: bench/windows_figures.sh WINDOWS_BUILD_DIR
# LINUX_VORLITH [RUNS] (a Release Linux build, e.g. build-rel/vorlith; RUNS default 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
linux="$(realpath "$2")"
runs="${3:-5}"
out="$(mktemp -d /tmp/vorlith-windows-figures.XXXXXX)"
xvfb=""
trap 'kill $xvfb 2>/dev/null; [ -z "${wine:-}" ] || "${wine%64}server" -k 2>/dev/null; rm -rf "$out"' EXIT
version="$(sed -n 's/^project(vorlith VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "zip: $(stat -c %s "$build/vorlith-$version-win64.zip") bytes;" \
  "installer: $(stat -c %s "$build/vorlith-$version-setup.exe") bytes"

key_dir="$(ls -td "${XDG_CACHE_HOME:-$HOME/.cache}"/vorlith-windows/*/stamps 2>/dev/null |
  head -n 1 || true)"
if [ -n "$key_dir" ]; then
  echo "dependencies from scratch: $(cat "$key_dir"/* | paste -sd+ | bc) s" \
    "($(for f in "$key_dir"/*; do printf '%s %s s, ' "$(basename "$f")" "$(cat "$f")"; done |
      sed 's/, $//'))"
fi
start=$(date +%s.%N)
VORLITH_WINDOWS_BUILD="$out/deps" bash "$root/scripts/build-windows.sh" --deps-only >/dev/null
echo "dependencies from the cache: $(echo "$(date +%s.%N) - $start" | bc) s"

source "$root/tests/windows/wine.sh" "$build" "$linux" "$out"  # (a HOME of its own from here on)

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$out/display")"
"${wine%64}server" -p  # one Wine server for all runs, as on a desktop session
printf 'vorlith-replay 1\n1 -\n' >"$out/title.replay"
title="Z:${out//\//\\}\\title.replay"
boss="$root/tests/replays/boss_stage_clear.replay"
seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N); echo "$t1 - $t0" | bc; }
for ((run = 1; run <= runs; run++)); do
  seconds run_wine "$build/vorlith.exe" --no-pacing --replay "$title" >>"$out/start.wine"
  (cd "$root/data" && seconds "$linux" --no-pacing --replay "$out/title.replay") >>"$out/start.linux"
  seconds run_wine "$build/vorlith.exe" --headless --no-pacing --replay "Z:${boss//\//\\}" \
    >>"$out/replay.wine"
  (cd "$root/data" && seconds "$linux" --headless --no-pacing --replay "$boss") >>"$out/replay.linux"
done
for side in wine linux; do
  echo "start-up to the first title frame, $side: $(median <"$out/start.$side") s" \
    "(runs: $(paste -sd' ' "$out/start.$side"))"
done
for side in wine linux; do
  t="$(median <"$out/replay.$side")"
  echo "boss_stage_clear headless, $side: $(echo "5432 / $t" | bc) frames/s ($t s)"
done
