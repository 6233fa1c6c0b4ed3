#!/usr/bin/env bash
# Rate of a headless, unpaced run over a 10,000-frame replay of stage 1 with the field
# busy (the ship weaves under the enemies firing all the time, and continues with C when it
# is destroyed), and the run's peak resident memory. Prints numbers; checks nothing.
# Usage: bench/replay_rate.sh [game binary]   (default: build/vorlith, a Release build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$(realpath "${1:-$root/build/vorlith}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

{
  echo "vorlith-replay 1"
  echo "1 Z"
  for _ in $(seq 1 83); do  # 83 x 120 frames, plus the start
    echo "30 LZ"
    echo "29 RZ"
    echo "1 C"
    echo "30 RZ"
    echo "30 LZ"
  done
  echo "39 Z"
} >"$work/busy.replay"

cd "$root/data"
/usr/bin/time -f "%e %M" -o "$work/time.txt" \
  "$game" --headless --no-pacing --replay "$work/busy.replay" --trace "$work/trace.jsonl"
read -r seconds peak_kib <"$work/time.txt"
/usr/bin/time -f "%e %M" -o "$work/time-untraced.txt" \
  "$game" --headless --no-pacing --replay "$work/busy.replay"
read -r untraced_seconds untraced_kib <"$work/time-untraced.txt"

frames=$(wc -l <"$work/trace.jsonl")
busy=$(awk -F'"bullets":' '{split($2, a, ","); total += a[1]; if (a[1] > most) most = a[1]}
  END {printf "%.0f bullets on average, %d at most", total / NR, most}' "$work/trace.jsonl")
echo "frames: $frames ($busy)"
echo "with trace:    $(awk -v f="$frames" -v s="$seconds" 'BEGIN {printf "%.0f", f / s}') frames/s, peak RSS $((peak_kib / 1024)) MiB"
echo "without trace: $(awk -v f="$frames" -v s="$untraced_seconds" 'BEGIN {printf "%.0f", f / s}') frames/s, peak RSS $((untraced_kib / 1024)) MiB"
