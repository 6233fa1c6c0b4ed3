#!/usr/bin/env bash
# Message boxes and signals, on the real program in Xvfb with evilwm:
#   - SIGTERM, SIGINT or SIGHUP while the no-device box is shown ends the program at once with
#     the box's exit status (1), its text on stderr, and the box's process (SDL shows it from a forked child) goes
#     with it; SIGKILL leaves no orphaned box either;
#   - with LeakSanitizer on and the project's suppressions, Esc ends a windowed run with
#     status 0 (nothing to check in a build without sanitizers).
# Usage: box_signals.sh <game binary> <lsan suppressions file>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary> <lsan.supp>}"
SUPPRESSIONS="${2:?usage: $0 <game binary> <lsan.supp>}"

box_children() { pgrep -P "$GAME_PID" | tr '\n' ' '; }
box_shown() {
  e2e_game_ended && e2e_fail "the game ended before its box was taken down"
  [ -n "$(box_children)" ] && xdotool search --onlyvisible --name 'Vorlith' >/dev/null 2>&1
}
none_alive() { ! kill -0 "$@" 2>/dev/null; }  # (kill succeeds when one process took it)

# start_box: the game with sizes no device takes, which shows the no-device box and waits.
start_box() {
  e2e_spawn "$GAME" -w 0 -h 0
  e2e_wait_until 60 box_shown || e2e_fail "no message box within 60 s"
  sleep 0.5
}

e2e_start_x 1280x1024
for signal in TERM INT HUP KILL; do
  start_box
  children="$(box_children)"
  kill -"$signal" "$GAME_PID"
  if [ "$signal" = KILL ]; then
    wait "$GAME_PID" 2>/dev/null
  else
    e2e_expect_exit "SIG$signal under the box" 10 1
    grep -q 'OpenGL 3\.3' "$E2E_TMP/game.log" ||
      e2e_fail "SIG$signal: the box's text is not on stderr"
  fi
  e2e_wait_until 5 none_alive $children || e2e_fail "the box ($children) outlived SIG$signal"
  e2e_log "SIG$signal under the box: the game ended, its box's process with it"
done

# Esc with LeakSanitizer on: the leaks of system libraries are suppressed, none of ours.
E2E_DETECT_LEAKS=1 LSAN_OPTIONS="suppressions=$SUPPRESSIONS" e2e_start_game "$GAME"
e2e_focus_game
sleep 1
xdotool key Escape
e2e_expect_exit "Esc with LeakSanitizer on"
e2e_log "PASS"
