#!/usr/bin/env bash
# Runs ended from outside, on the real program:
#   - SIGTERM, SIGINT and SIGHUP end a headless paced replay and a windowed game in Xvfb as
#     Esc does: status 0, and the recording plays back to the trace written, frame for frame;
#   - a trace into a pipe whose reader goes away (`| head -1`): the write error is named, the
#     run plays to its end, status 3, the recording whole;
#   - the X server going away: Xlib's status 1, and the recording plays back to the trace
#     written up to the last frame.
# Usage: signals.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"
REPLAY="$(cd "$(dirname "$0")/../replays" && pwd)/item_pickups.replay"
RECORDING="$E2E_TMP/recorded.replay"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
# A shell starts its background jobs with SIGINT ignored, and a signal ignored from the start
# stays ignored in the game: the game is started with every one at its default here.
PLAY=(env --default-signal=INT,TERM,HUP "$GAME")

# ends_whole WHAT: the game ends with status 0 and its recording gives its trace.
ends_whole() {
  e2e_expect_exit "$1"
  e2e_replay_matches "$RECORDING" "$E2E_TRACE"
  e2e_log "$1: $(wc -l <"$E2E_TRACE") frames, recorded whole"
}

for signal in TERM INT HUP; do
  rm -f "$E2E_TRACE" "$RECORDING"
  e2e_spawn "${PLAY[@]}" --headless --replay "$REPLAY" --trace "$E2E_TRACE" --record "$RECORDING"
  e2e_wait_trace 'f["frame"] >= 60'
  kill -"$signal" "$GAME_PID"
  ends_whole "SIG$signal in a headless replay"
done

# The reader of the trace goes away after its first line.
("$GAME" --headless --no-pacing --replay "$REPLAY" --trace /dev/stdout --record "$RECORDING" \
  2>"$E2E_TMP/pipe.log"; echo $? >"$E2E_TMP/pipe.status") | head -1 >/dev/null
[ "$(cat "$E2E_TMP/pipe.status")" = 3 ] ||
  e2e_fail "a closed pipe: status $(cat "$E2E_TMP/pipe.status"), expected 3: $(cat "$E2E_TMP/pipe.log")"
grep -q '^vorlith: /dev/stdout: cannot write the trace: Broken pipe$' "$E2E_TMP/pipe.log" ||
  e2e_fail "a closed pipe is not named: $(cat "$E2E_TMP/pipe.log")"
"$GAME" --headless --no-pacing --replay "$REPLAY" --trace "$E2E_TRACE" >/dev/null 2>&1 ||
  e2e_fail "the replay does not play"
e2e_replay_matches "$RECORDING" "$E2E_TRACE"
e2e_log "a closed pipe: named, status 3, the recording whole"

e2e_start_x 1280x1024
for signal in TERM INT HUP none; do  # (none: the X server goes away, below)
  rm -f "$E2E_TRACE" "$RECORDING"
  e2e_start_game "${PLAY[@]}" --trace "$E2E_TRACE" --record "$RECORDING"
  e2e_focus_game
  e2e_hold z 'f["scene"] == 0'
  e2e_wait_frames 30
  [ "$signal" = none ] && break
  kill -"$signal" "$GAME_PID"
  ends_whole "SIG$signal in a window"
done

# The X server goes away in play (evilwm with it).
xvfb="$(pgrep -x Xvfb -P $$ | tail -1)"
[ -n "$xvfb" ] || e2e_fail "no Xvfb of this test found"
kill -KILL "$xvfb"
e2e_expect_exit "the X server going away" 30 1
e2e_replay_matches "$RECORDING" "$E2E_TRACE"
e2e_log "the X server going away: status 1, $(wc -l <"$E2E_TRACE") frames recorded whole"
e2e_log "PASS"
