#!/usr/bin/env bash
# Bad start-up option values never crash or hang the real program: each run either plays
# (it is then ended with SIGTERM, status 0) or shows the no-device message and ends with
# status 1. Runs on SDL's offscreen video driver: no X server needed, message boxes go to
# stderr. Usage: bad_options.sh <game binary>   (run from data/)
set -u
GAME="${1:?usage: $0 <game binary>}"
export SDL_VIDEODRIVER=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"  # GPU driver leaks at exit are not ours
LOG="$(mktemp /tmp/vorlith-options.XXXXXX)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -f "$LOG"
}
trap cleanup EXIT

failures=0
# run EXPECTATION ARGS...: EXPECTATION is "plays" or "refuses".
run() {
  local expect="$1"
  shift
  "$GAME" "$@" >"$LOG" 2>&1 &
  pid=$!
  local waited=0
  while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt 40 ]; do  # up to 4 s to start or refuse
    sleep 0.1
    waited=$((waited + 1))
  done
  local outcome status=0
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    local left=300
    while kill -0 "$pid" 2>/dev/null && [ "$left" -gt 0 ]; do sleep 0.1; left=$((left - 1)); done
    if kill -0 "$pid" 2>/dev/null; then
      outcome="hangs after SIGTERM"
    else
      wait "$pid" || status=$?
      [ "$status" = 0 ] && outcome="plays" || outcome="ends with $status on SIGTERM"
    fi
  else
    wait "$pid" || status=$?
    if [ "$status" = 1 ] && grep -q "DirectX 9.0" "$LOG"; then
      outcome="refuses"
    else
      outcome="ends with $status"
    fi
  fi
  pid=""
  if [ "$outcome" = "$expect" ]; then
    echo "ok   $* : $outcome"
  else
    echo "FAIL $* : $outcome, expected $expect"
    tail -5 "$LOG"
    failures=$((failures + 1))
  fi
}

run plays
run plays -w
run plays -W 800 -H 600 --nonsense
run plays -w 320 -h 200abc
run plays -w 800 -fw abc -fh -5  # a bad full-screen size only matters in full screen
run refuses -w abc
run refuses -w 0
run refuses -h -1
run refuses -w 100000 -h 100000
run refuses -ww 99999999999999999999
run refuses -f -fw 0
[ "$failures" = 0 ] && echo PASS || { echo "$failures failed"; exit 1; }
