#!/usr/bin/env bash
# Start-up to the first title frame, whole process: the game with the real renderer offscreen
# (SDL_VIDEODRIVER=offscreen, 640 x 480, sound on OpenAL Soft's null output) plays a replay of
# one title frame, so it starts, draws and presents "Press Z key" once, and exits. Each run's
# wall-clock time from the exec to the exit, and the CPU time it took (user and system, all
# its threads: on a busy machine the steadier figure), in milliseconds. With a second binary the two
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

TIMEFORMAT='%3R %3U %3S'  # wall, user and system seconds of the run (its threads included)
for ((run = 1; run <= runs; run++)); do
  for i in "${!games[@]}"; do
    { time "${games[$i]}" --replay "$work/title.replay" --no-pacing 2>/dev/null; } 2>>"$work/times$i"
  done
done

for i in "${!games[@]}"; do echo "game $((i + 1)): ${games[$i]}"; done
echo "start-up to the first title frame and exit, ms: median (least, most) of $runs runs"
for i in "${!games[@]}"; do
  for column in wall cpu; do
    awk -v c=$column '{ print c == "wall" ? $1 * 1000 : ($2 + $3) * 1000 }' "$work/times$i" |
      sort -n | awk -v game=$((i + 1)) -v c=$column '{ v[NR] = $1 }
        END {
          m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "game %d %-4s %7.1f (%.1f, %.1f)\n", game, c, m, v[1], v[NR] }'
  done
done
