#!/usr/bin/env bash
# A committed replay played in a real window (Xvfb, evilwm, xdotool), disturbed while its
# combos run by Alt+Enter to full screen and back and by the focus going to another window
# and back (each brings repaints), gives the trace of its headless run, frame for frame (but
# for the measured frame rate).
# Usage: disturbed_replay.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

e2e_start_x 1280x1024
# The disturbed replay: the first 1500 frames of one with kills and combos.
DISTURBED="$E2E_TMP/disturbed.replay"
awk 'NR == 1 || !/^ *[0-9]/ { print; next } { print; n += $1; if (n >= 1500) exit }' \
  "$(dirname "$0")/../replays/game_over_continue_return.replay" >"$DISTURBED"
e2e_other_window
E2E_TRACE="$E2E_TMP/disturbed.jsonl"
e2e_start_game "$GAME" --replay "$DISTURBED" --trace "$E2E_TRACE"
e2e_focus_game
for round in 1 2 3 4 5; do
  e2e_wait_next 'f["combo"] > 0'
  xdotool key alt+Return
  e2e_wait_next 'f["combo"] > 0'
  xdotool key alt+Return
  e2e_wait_next 'f["combo"] > 0'
  e2e_focus_game "$OTHER"
  e2e_wait_paused
  e2e_focus_game
done
e2e_expect_exit "the disturbed replay's end" 120
e2e_replay_matches "$DISTURBED" "$E2E_TRACE"
e2e_log "PASS: the disturbed windowed replay gives the headless trace ($(wc -l <"$E2E_TRACE") frames)"
