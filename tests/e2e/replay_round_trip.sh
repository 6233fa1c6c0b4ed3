#!/usr/bin/env bash
# A session played in a real window with real keys (Xvfb, evilwm, xdotool) is recorded,
# then played back headless and unpaced: both runs write the same trace, frame for frame
# (but for the measured frame rate).
# Usage: replay_round_trip.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

e2e_start_x 1280x1024
e2e_start_game "$GAME" --record "$E2E_TMP/live.replay" --trace "$E2E_TMP/live.jsonl"
e2e_focus_game || e2e_fail "the game window does not take the focus"

# hold KEYS SECONDS: presses the keys together, keeps them down, lets go.
hold() {
  local keys=$1
  xdotool keydown ${keys//+/ }
  sleep "$2"
  xdotool keyup ${keys//+/ }
}

hold z 0.3         # start stage 1
sleep 0.5
hold z+Left 1.0    # fly left while firing
hold z+Up 0.5
hold Right 0.4
sleep 0.3
xdotool key Escape
e2e_wait_exit 30 || e2e_fail "the game did not end after Esc"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS after Esc"
e2e_log "live run: $(wc -l <"$E2E_TMP/live.jsonl") frames, replay:"
cat "$E2E_TMP/live.replay"

grep -q '"scene":0' "$E2E_TMP/live.jsonl" || e2e_fail "the live run never started the stage"
grep -q '"sounds":\[0' "$E2E_TMP/live.jsonl" || e2e_fail "the live run never fired"

"$GAME" --headless --no-pacing --replay "$E2E_TMP/live.replay" \
  --trace "$E2E_TMP/replayed.jsonl" >"$E2E_TMP/replayed.log" 2>&1 ||
  e2e_fail "the headless playback failed: $(tail -3 "$E2E_TMP/replayed.log")"

without_fps() { sed -E 's/"fps":[0-9]+,//' "$1"; }
if ! diff <(without_fps "$E2E_TMP/live.jsonl") <(without_fps "$E2E_TMP/replayed.jsonl") \
  >"$E2E_TMP/diff.txt"; then
  head -c 2000 "$E2E_TMP/diff.txt"
  e2e_fail "the playback's trace differs from the live run's"
fi
e2e_log "PASS: $(wc -l <"$E2E_TMP/replayed.jsonl") frames played back identically"
