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

# finish: PASS, or the number of failures and status 1.
finish() { [ "$failures" = 0 ] && echo PASS || { echo "$failures failed"; exit 1; }; }
