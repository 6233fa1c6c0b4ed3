#!/usr/bin/env bash
# CPU share of a paced minute of play: the boss replay played at its own pace (at most one
# frame per 16 ms) in a real window under Xvfb, the game's CPU time (all its threads, the
# software rasterizer's included) measured over 60 seconds of stage 1. Prints numbers; checks
# nothing.
# Usage: bench/paced_cpu.sh [game binary] [seconds]   (default: build/vorlith, 60)
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$(realpath "${1:-$root/build/vorlith}")"
seconds="${2:-60}"
source "$root/tests/e2e/lib.sh"
cd "$root/data"
export ALSOFT_DRIVERS=null

e2e_start_x 1280x1024
e2e_start_game "$game" --replay "$root/tests/replays/boss_stage_clear.replay" \
  --trace "$E2E_TMP/trace.jsonl"
e2e_focus_game || e2e_fail "the game window does not take the focus"
sleep 3
ticks_per_second="$(getconf CLK_TCK)"
start_ticks="$(e2e_cpu_ticks)"
start_frames="$(wc -l <"$E2E_TMP/trace.jsonl")"
sleep "$seconds"
end_ticks="$(e2e_cpu_ticks)"
end_frames="$(wc -l <"$E2E_TMP/trace.jsonl")"
awk -v t=$((end_ticks - start_ticks)) -v hz="$ticks_per_second" -v s="$seconds" \
  -v f=$((end_frames - start_frames)) 'BEGIN {
    printf "paced play: %d frames in %d s (%.1f per second), CPU %.1f%% of one core\n",
      f, s, f / s, 100 * t / hz / s }'
