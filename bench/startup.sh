#!/usr/bin/env bash
# Start-up to the first title frame, whole process: the game with the real renderer offscreen
# (SDL_VIDEODRIVER=offscreen, 640 x 480, sound on OpenAL Soft's null output) plays a replay of
# one title frame, so it starts, draws and presents "Press Z key" once, and exits. Each run's
# wall-clock time from the exec to the exit, in milliseconds. With a second binary the two
# take turns run by run (so a busy machine hits both alike) and both columns are printed.
# Prints numbers; checks nothing beyond each run's exit status.
# Usage: bench/startup.sh [game binary] [runs] [other game binary]
#   (defaults: build-rel/vorlith, 9 runs)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
games=("$(realpath "${1:-$root/build-rel/vorlith}")")
runs="${2:-9}"
[ -n "${3:-}" ] && games+=("$(realpath "$3")")
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'vorlith-replay 1\n1 -\n' >"$work/title.replay"

export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
cd "$root/data"
# One untimed run each, so that every timed run finds the same files in the page cache.
for game in "${games[@]}"; do "$game" --replay "$work/title.replay" --no-pacing; done

for ((run = 1; run <= runs; run++)); do
  for i in "${!games[@]}"; do
    start=$(date +%s%N)
    "${games[$i]}" --replay "$work/title.replay" --no-pacing
    end=$(date +%s%N)
    echo "$(((end - start) / 1000))" >>"$work/times$i"
  done
done

for i in "${!games[@]}"; do echo "game $((i + 1)): ${games[$i]}"; done
for i in "${!games[@]}"; do
  sort -n "$work/times$i" | awk -v game=$((i + 1)) '{ v[NR] = $1 / 1000 }
    END {
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "game %d: start-up to the first title frame and exit: median %.1f ms, least %.1f ms, most %.1f ms (%d runs)\n",
        game, m, v[1], v[NR], NR }'
done
