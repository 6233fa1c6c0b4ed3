#!/usr/bin/env bash
# Plays every committed replay headless with the Windows build under Wine and with a Linux
# build, and checks that their traces are the same byte for byte apart from "fps"; then one
# of them again with the data, the replay and the trace under non-ASCII names (UTF-8 paths);
# then the exit statuses of a usage error and of a run without a display.
# Usage: bash tests/windows/replays.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
# (WINEPREFIX is made under OUT_DIR unless set.)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
[ $# -ge 2 ] || { echo "usage: replays.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]" >&2; exit 2; }
exe="$(cd "$1" && pwd)/vorlith.exe"
linux="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
out="${3:-$(mktemp -d /tmp/vorlith-windows-replays.XXXXXX)}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
source "$root/tests/windows/wine.sh"

# Unix path $1 as Wine's Z: drive names it.
windows_path() { echo "Z:${1//\//\\}"; }

failed=0
for replay in "$root"/tests/replays/*.replay; do
  name="$(basename "$replay" .replay)"
  (cd "$root/data" && "$linux" --headless --no-pacing --replay "$replay" \
    --trace "$out/$name.linux.trace" >/dev/null)
  run_wine "$exe" --headless --no-pacing \
    --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/$name.windows.trace")" \
    >/dev/null
  for side in linux windows; do
    sed -E 's/"fps":[0-9.]+/"fps":_/' "$out/$name.$side.trace" >"$out/$name.$side.nofps"
  done
  frames="$(wc -l <"$out/$name.linux.trace")"
  if cmp -s "$out/$name.linux.nofps" "$out/$name.windows.nofps"; then
    echo "same: $name ($frames frames)"
  else
    echo "DIFFERENT: $name; first difference:"
    diff "$out/$name.linux.nofps" "$out/$name.windows.nofps" | head -n 4
    failed=1
  fi
done

# The data, the replay and the trace in a folder with a Japanese name.
named="$out/データ"
rm -rf "$named" && cp -r "$root/data" "$named"
cp "$root/tests/replays/item_pickups.replay" "$named/リプレイ.replay"
VORLITH_DATA_DIR="$(windows_path "$named")" run_wine "$exe" --headless --no-pacing \
  --replay "$(windows_path "$named/リプレイ.replay")" \
  --trace "$(windows_path "$named/トレース.trace")" >/dev/null
if [ -e "$named/トレース.trace" ] && cmp -s "$out/item_pickups.linux.nofps" \
  <(sed -E 's/"fps":[0-9.]+/"fps":_/' "$named/トレース.trace"); then
  echo "same: item_pickups with UTF-8 paths"
else
  echo "DIFFERENT or missing: item_pickups with UTF-8 paths"
  failed=1
fi
rm -rf "$named"

# Exit statuses as on Linux: 2 for a usage error, 1 without a graphics device (no display).
expect_status() {
  local want="$1" status=0
  shift
  "$@" >"$out/status.log" 2>&1 || status=$?
  if [ "$status" -eq "$want" ]; then
    echo "status $status: $(tail -n 1 "$out/status.log" | cut -c1-80)"
  else
    echo "FAILED: status $status, not $want: $*"
    failed=1
  fi
}
expect_status 2 run_wine "$exe" --no-such-option
expect_status 1 env -u DISPLAY "$wine" "$exe" --no-pacing \
  --replay "$(windows_path "$root/tests/replays/title_idle.replay")"
exit "$failed"
