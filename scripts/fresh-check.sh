#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a fresh Debian 12: builds a minimal
# Debian 12 tree with mmdebstrap (from the mirrors this machine's apt uses), clones the current
# commit into it and runs there, as root:
#   1. scripts/play.sh, with a virtual display of this machine: once the title is up, a
#      screenshot of it is taken and the game is asked to close (exit status 0 expected);
#   2. scripts/test.sh.
# Nothing is installed in the tree beforehand: each script installs what it needs itself.
# Needs root and several minutes (about a minute for the tree, the rest building and testing).
# Usage: bash scripts/fresh-check.sh [OUT_DIR]
#   OUT_DIR (default /tmp/vorlith-fresh-check) receives title.png, play.log and test.log.
# Prints the time taken and PASS or FAIL; exit status 0 only when both commands passed.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-/tmp/vorlith-fresh-check}"
PLAY_TIMEOUT=1800   # seconds for play.sh to install, build and show the title
TEST_TIMEOUT=5400   # seconds for test.sh

[ "$(id -u)" -eq 0 ] || { echo "fresh-check: must run as root (chroot, mounts)" >&2; exit 2; }
mkdir -p "$out"
rm -f "$out/title.png" "$out/play.log" "$out/test.log"
started=$SECONDS
log() { echo "[fresh-check $(date +%H:%M:%S)] $*"; }

# What this script itself needs on the host: the tree builder, and a virtual display with a
# way to find and photograph the game's window (the tree itself starts empty).
host_packages=(mmdebstrap xvfb xdotool imagemagick git)
missing=()
for p in "${host_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

commit="$(git -C "$repo" rev-parse HEAD)"
git -C "$repo" diff --quiet HEAD || log "note: uncommitted changes are not checked, only $commit"

root="$(mktemp -d /var/tmp/vorlith-fresh.XXXXXX)"
mounted=()
xvfb=""
game=""

finish() {
  local status=$? i
  [ -n "$game" ] && kill -KILL "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  # Processes still running inside the tree would keep its mounts busy.
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}"
  done
  if findmnt -rn -o TARGET | grep -q "^$root"; then
    echo "fresh-check: $root still has mounts; not removing it" >&2
  else
    rm -rf "$root"
  fi
  local took=$((SECONDS - started))
  echo "fresh-check: $((took / 60)) min $((took % 60)) s, $([ "$status" = 0 ] && echo PASS || echo FAIL)"
  exit "$status"
}
trap finish EXIT
trap 'exit 1' INT TERM HUP

# The mirrors apt is configured with here (one-line and deb822 files alike), but not the
# entries install-deps.sh writes itself: the tree must get them from it, as a new machine does.
mirrors=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  case "$(basename "$f")" in vorlith-*) continue ;; esac
  [ -s "$f" ] && mirrors+=("$f")
done
log "building a minimal Debian 12 tree in $root from ${mirrors[*]:-deb.debian.org}"
mmdebstrap --variant=apt --quiet bookworm "$root" "${mirrors[@]}"

for dir in dev dev/pts proc sys; do
  mount --bind "/$dir" "$root/$dir"
  mounted+=("$root/$dir")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q --no-hardlinks "$repo" "$root/root/vorlith"
git -C "$root/root/vorlith" checkout -q "$commit"
log "cloned $commit into the tree"

# in_tree DISPLAY COMMAND: becomes a root shell in the clone with a clean environment running
# COMMAND (exec: the caller's process is the one in the tree).
in_tree() {
  exec chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 DISPLAY="$1" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/vorlith && $2"
}

# 1. scripts/play.sh on a virtual display of this machine (the tree shares its sockets).
: >"$root/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$root/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
[ -s "$root/display" ] || { log "FAIL: no virtual display"; exit 1; }
export DISPLAY=":$(head -1 "$root/display")"
log "play.sh on $DISPLAY (installs, builds, starts the game)"
in_tree "$DISPLAY" "exec bash scripts/play.sh" >"$out/play.log" 2>&1 &
game=$!
window=""
deadline=$((SECONDS + PLAY_TIMEOUT))
until window="$(xdotool search --onlyvisible --name 'Vorlith' 2>/dev/null | head -1)" &&
  [ -n "$window" ]; do
  kill -0 "$game" 2>/dev/null || { log "FAIL: play.sh ended: $(tail -5 "$out/play.log")"; exit 1; }
  [ "$SECONDS" -lt "$deadline" ] || { log "FAIL: no game window after $PLAY_TIMEOUT s"; exit 1; }
  sleep 1
done
# The title is drawn once the first frames have been presented: wait for a non-black picture.
shown=""
for _ in $(seq 100); do
  import -window "$window" "$out/title.png" 2>/dev/null &&
    [ "$(convert "$out/title.png" -format '%[fx:maxima]' info:)" != 0 ] && shown=yes && break
  sleep 0.2
done
if [ -z "$shown" ]; then
  log "FAIL: the game's window stayed black (focus: $(xdotool getwindowfocus 2>&1), window: $window)"
  exit 1
fi
kill -TERM "$game"
status=0
wait "$game" || status=$?
game=""
[ "$status" = 0 ] || { log "FAIL: the game ended with status $status: $(tail -5 "$out/play.log")"; exit 1; }
log "play.sh: the title is up (screenshot $out/title.png); the game closed with status 0"
kill "$xvfb" 2>/dev/null
xvfb=""
unset DISPLAY

# 2. scripts/test.sh.
log "test.sh (installs, builds with sanitizers, runs every test)"
if ! (in_tree "" "exec timeout $TEST_TIMEOUT bash scripts/test.sh") >"$out/test.log" 2>&1; then
  log "FAIL: test.sh: $(grep -E 'tests passed|Failed|\*\*\*' "$out/test.log" | tail -12)"
  exit 1
fi
log "test.sh: $(grep 'tests passed' "$out/test.log")"
