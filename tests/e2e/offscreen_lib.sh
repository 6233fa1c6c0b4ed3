# Shared by the end-to-end scripts that need no X server: the game binary from the first
# argument, SDL's offscreen video driver, a work directory (removed by the script's own trap)
# and failures counted by fail, reported by finish. Source it after setting WORK_NAME.
set -u
GAME="${1:?usage: $0 <game binary>}"
export SDL_VIDEODRIVER=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"  # GPU driver leaks at exit are not ours
WORK="$(mktemp -d "/tmp/vorlith-$WORK_NAME.XXXXXX")"
# The player's folders of every game started here, never the real ones.
export XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/config"
failures=0

# fail WHAT: counts a failure, with the end of the last run's output ($WORK/log).
fail() {
  echo "FAIL $*"
  tail -5 "$WORK/log"
  failures=$((failures + 1))
}

# run STATUS PATTERN ARGS...: runs the game to its end (60 s at most; its peak memory in
# $WORK/peak, KiB); it must exit with STATUS, print one line (not two) matching the extended
# regex PATTERN (unless empty) and no sanitizer report.
run() {
  local want=$1 pattern=$2 status=0
  shift 2
  timeout 60 /usr/bin/time -f "%M" -o "$WORK/peak" "$GAME" "$@" >"$WORK/log" 2>&1 || status=$?
  if [ "$status" != "$want" ]; then
    fail "$* : status $status, expected $want"
  elif [ -n "$pattern" ] && [ "$(grep -cE -- "$pattern" "$WORK/log")" != 1 ]; then
    fail "$* : $(grep -cE -- "$pattern" "$WORK/log") lines /$pattern/, expected one"
  elif grep -q "runtime error\|Sanitizer" "$WORK/log"; then
    fail "$* : sanitizer report"
  else
    echo "ok   $* : status $status"
  fi
}

# finish: PASS, or the number of failures and status 1.
finish() { [ "$failures" = 0 ] && echo PASS || { echo "$failures failed"; exit 1; }; }
