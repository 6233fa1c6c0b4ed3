# Shared helpers for the end-to-end scripts: a private X server with a small window
# manager, the game started in it, and clean-up of everything started here on any exit.
# Source it, then call e2e_start_x and e2e_start_game. Needs Xvfb, evilwm, xdotool,
# xwininfo, xprop (x11-utils), wmctrl and ImageMagick's import.

set -u

E2E_TMP="$(mktemp -d /tmp/vorlith-e2e.XXXXXX)"
# The player's folders of every game started here (high scores, replays, settings).
export XDG_DATA_HOME="$E2E_TMP/data" XDG_CONFIG_HOME="$E2E_TMP/config"
E2E_PIDS=()     # started here, killed on exit in reverse order
GAME_PID=""
GAME_WINDOW=""

e2e_log() { echo "[$(date +%H:%M:%S)] $*"; }

e2e_fail() {
  local shot="${VORLITH_SHOTS_DIR:-/tmp}/vorlith-e2e-failure.png"
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && [ -n "$GAME_WINDOW" ] && import -window root "$shot" 2>/dev/null &&
    echo "screen at failure: $shot" >&2
  [ -f "$E2E_TMP/game.log" ] && { echo "--- game output:" >&2; tail -20 "$E2E_TMP/game.log" >&2; }
  exit 1
}

e2e_cleanup() {
  local i pid
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid="${E2E_PIDS[$i]}"
    kill -TERM "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true  # (safe for scripts with set -e)
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM HUP

# e2e_run WHAT COMMAND...: runs the command, its output in $E2E_TMP/run.log; when it fails,
# so does the test, with the output's end.
e2e_run() {
  "${@:2}" >"$E2E_TMP/run.log" 2>&1 || e2e_fail "$1 failed: $(tail -5 "$E2E_TMP/run.log")"
}

# e2e_wait_until SECONDS COMMAND...: polls the command until it succeeds; false on timeout.
e2e_wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.2
  done
}

# Starts Xvfb on a free display (it picks the number itself) and evilwm on it; tries again
# with a fresh server when either does not come up.
e2e_start_x() {
  local size="${1:-1280x1024}" attempt
  unset SDL_VIDEODRIVER
  for attempt in 1 2 3; do
    if e2e_try_start_x "$size"; then
      e2e_log "X server on $DISPLAY with evilwm"
      return 0
    fi
    e2e_log "attempt $attempt: $(cat "$E2E_TMP/xvfb.log" "$E2E_TMP/evilwm.log" 2>/dev/null | tail -3)"
  done
  e2e_fail "no X server with a window manager after 3 attempts"
}

e2e_try_start_x() {
  local xvfb wm
  : >"$E2E_TMP/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$E2E_TMP/display" \
    >"$E2E_TMP/xvfb.log" 2>&1 &
  xvfb=$!
  E2E_PIDS+=("$xvfb")
  if e2e_wait_until 30 test -s "$E2E_TMP/display"; then
    export DISPLAY=":$(head -1 "$E2E_TMP/display")"
    # "fixed" comes with xfonts-base; evilwm's default font ("variable") needs a package
    # the game has no use for, and without a font it exits at once.
    evilwm -fn fixed >"$E2E_TMP/evilwm.log" 2>&1 &
    wm=$!
    E2E_PIDS+=("$wm")
    e2e_wait_until 20 e2e_wm_ready "$wm" && kill -0 "$wm" 2>/dev/null && return 0
    kill -0 "$wm" 2>/dev/null || echo "evilwm ended" >>"$E2E_TMP/evilwm.log"
    kill "$wm" 2>/dev/null
  fi
  kill "$xvfb" 2>/dev/null
  return 1
}

# e2e_wm_ready PID: the window manager has announced itself; a window manager that has
# ended stops the wait at once (the caller tries again with a fresh server).
e2e_wm_ready() {
  kill -0 "$1" 2>/dev/null || return 0
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# e2e_spawn COMMAND...: starts the game (GAME_PID) in the background, its output in game.log.
e2e_spawn() {
  # Leaks inside the GPU driver at exit are not the game's; the unit tests check ours (and
  # E2E_DETECT_LEAKS=1 with the project's suppressions checks a whole run).
  ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=${E2E_DETECT_LEAKS:-0}" "$@" \
    >"$E2E_TMP/game.log" 2>&1 &
  GAME_PID=$!
  E2E_PIDS+=("$GAME_PID")
}

# e2e_start_game BINARY ARGS...: starts the game from data/ and waits for its window.
e2e_start_game() {
  e2e_spawn "$@"
  e2e_wait_until 60 e2e_find_window || e2e_fail "no game window within 60 s"
  e2e_log "game pid $GAME_PID, window $GAME_WINDOW"
}

# e2e_shot NAME [WINDOW]: a picture of the game window (or WINDOW) as $E2E_TMP/NAME.png.
e2e_shot() { import -window "${2:-$GAME_WINDOW}" "$E2E_TMP/$1.png" 2>/dev/null; }

# e2e_keep FILE...: copies pictures (and traces) to VORLITH_SHOTS_DIR when that is set.
e2e_keep() {
  [ -z "${VORLITH_SHOTS_DIR:-}" ] ||
    { mkdir -p "$VORLITH_SHOTS_DIR" && cp "$@" "$VORLITH_SHOTS_DIR"/; }
}

# e2e_other_window: another window (OTHER) to take the focus from the game.
e2e_other_window() {
  xmessage -geometry 400x300+500+400 "another window" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  e2e_wait_until 20 e2e_find_other || e2e_fail "no other window"
}
e2e_find_other() {
  OTHER="$(xdotool search --onlyvisible --name '^xmessage$' | head -1)"
  [ -n "$OTHER" ]
}

# e2e_mix_to FILE: OpenAL Soft mixes the sound of the games started from now on into FILE.
e2e_mix_to() {
  printf '[general]\ndrivers = wave\n\n[wave]\nfile = %s\n' "$1" >"$E2E_TMP/alsoft.conf"
  export ALSOFT_CONF="$E2E_TMP/alsoft.conf" ALSOFT_DRIVERS=wave
}

# e2e_trace_eval EXPRESSION [TRACE]: prints a Python expression over `frames`, the parsed
# frames of the trace ($E2E_TRACE).
e2e_trace_eval() {
  python3 -c 'import json, sys
frames = [json.loads(line) for line in open(sys.argv[2])]
print(eval(sys.argv[1]))' "$1" "${2:-$E2E_TRACE}"
}

e2e_find_window() {
  kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended before showing its window"
  GAME_WINDOW="$(xdotool search --onlyvisible --name 'Vorlith' 2>/dev/null | head -1)"
  [ -n "$GAME_WINDOW" ]
}

# Prints "x y width height" of the game window's client area on the screen.
e2e_geometry() {
  xwininfo -id "$GAME_WINDOW" 2>/dev/null | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

e2e_geometry_is() { [ "$(e2e_geometry)" = "$*" ]; }

e2e_screen_size() { xdpyinfo 2>/dev/null | awk '/dimensions:/ {sub("x", " ", $2); print $2}'; }

# Prints "left right top bottom" of the window manager's frame (0 0 0 0 without one).
e2e_frame_extents() {
  local extents
  extents="$(xprop -id "$GAME_WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')"
  [ -n "$extents" ] && echo "$extents" | tr -d ',' || echo "0 0 0 0"
}

# e2e_focus_game [WINDOW]: gives the game window (or WINDOW) the focus.
e2e_focus_game() {
  local window="${1:-$GAME_WINDOW}"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 ||
    xdotool windowfocus --sync "$window" >/dev/null 2>&1
  e2e_wait_until 10 eval '[ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]' ||
    e2e_fail "the window $window does not take the focus"
}

# e2e_cpu_ticks: the game's CPU time so far (user + system clock ticks).
e2e_cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }

# e2e_expect_idle WHAT: the game uses no CPU time over 3 s.
e2e_expect_idle() {
  local before used
  before=$(e2e_cpu_ticks)
  sleep 3
  used=$(($(e2e_cpu_ticks) - before))
  e2e_log "$1: $used CPU ticks in 3 s"
  [ "$used" -eq 0 ] || e2e_fail "$1: the game used $used CPU ticks in 3 s"
}

# e2e_expect_exit WHAT [SECONDS [STATUS]]: the game ends within SECONDS (30) of WHAT with
# STATUS (0). (Not in a subshell: only this shell can wait for its child.)
e2e_expect_exit() {
  e2e_wait_until "${2:-30}" e2e_game_ended || e2e_fail "the game did not end within ${2:-30} s of $1"
  local status=0
  wait "$GAME_PID" || status=$?
  [ "$status" = "${3:-0}" ] || e2e_fail "$1 ended the game with status $status, expected ${3:-0}"
  e2e_log "$1: exit status $status"
}

# e2e_hold KEYS CONDITION [SECONDS]: presses the keys (joined by +) together and keeps them
# down until a frame written from then on satisfies CONDITION (see e2e_wait_trace), then lets
# go. (A bare xdotool key can press and release within one frame.)
e2e_hold() {
  xdotool keydown ${1//+/ }
  e2e_wait_next "$2" "${3:-60}"
  xdotool keyup ${1//+/ }
}

# e2e_wait_trace CONDITION [SECONDS]: waits until a frame of the trace that the game writes to
# $E2E_TRACE (start it with --trace "$E2E_TRACE") satisfies CONDITION, a Python expression
# over the frame f, e.g. 'f["scene"] == 0'. Fails the test after SECONDS (60).
# e2e_wait_next CONDITION [SECONDS]: the same, counting only frames written from now on.
E2E_TRACE="$E2E_TMP/trace.jsonl"
e2e_wait_trace() { e2e_wait_frame 0 "$@"; }
e2e_wait_next() { e2e_wait_frame "$(e2e_frames_written)" "$@"; }
# e2e_wait_frames N: waits until the game has run N more frames.
e2e_wait_frames() { e2e_wait_frame $(($(e2e_frames_written) + $1 - 1)) True; }
e2e_frames_written() { cat "$E2E_TRACE" 2>/dev/null | wc -l; }
e2e_wait_frame() {
  local said
  said="$(python3 "$(dirname "${BASH_SOURCE[0]}")/wait_trace.py" "$E2E_TRACE" "${3:-60}" \
    "$GAME_PID" "$2" "$1" 2>&1)" || e2e_fail "$said"
  e2e_log "$said"
}

# e2e_wait_paused: waits until the game has stopped running frames (its trace stops growing:
# the same length twice, half a second apart).
e2e_wait_paused() {
  E2E_LINES=-1
  e2e_wait_until 30 e2e_trace_still || e2e_fail "the game keeps running frames in the background"
}
e2e_trace_still() {
  local was=$E2E_LINES
  sleep 0.3  # (and e2e_wait_until's 0.2 s)
  E2E_LINES=$(e2e_frames_written)
  [ "$E2E_LINES" = "$was" ]
}

# A finished child stays a zombie until it is waited for.
e2e_game_ended() {
  local state
  state="$(awk '{print $3}' "/proc/$GAME_PID/stat" 2>/dev/null)"
  [ -z "$state" ] || [ "$state" = "Z" ]
}

# e2e_replay_matches REPLAY TRACE: plays REPLAY back headless and fails unless its trace is
# TRACE's, frame for frame (the measured frame rate aside).
e2e_replay_matches() {
  e2e_run "the headless playback" "$GAME" --headless --no-pacing --replay "$1" \
    --trace "$E2E_TMP/replayed.jsonl"
  diff <(sed -E 's/"fps":[0-9]+,//' "$2") <(sed -E 's/"fps":[0-9]+,//' "$E2E_TMP/replayed.jsonl") |
    head -c 2000 | grep . && e2e_fail "the playback's trace differs from the live run's"
  return 0
}
