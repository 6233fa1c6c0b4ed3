#!/usr/bin/env bash
# Plays every committed replay headless with the Windows build under Wine and with a Linux
# build, and checks that their traces are the same byte for byte apart from "fps"; then one
# of them again with the data, the replay and the trace under non-ASCII names (UTF-8 paths);
# then the exit statuses of a usage error and of a run without a display.
# Usage: bash tests/windows/replays.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/windows/wine.sh" "$@"

failed=0
for replay in "$root"/tests/replays/*.replay; do
  name="$(basename "$replay" .replay)"
  (cd "$root/data" && "$linux" --headless --no-pacing --replay "$replay" \
    --trace "$out/$name.linux.trace" >/dev/null)
  run_wine "$exe" --headless --no-pacing \
    --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/$name.windows.trace")" \
    >/dev/null
  frames="$(wc -l <"$out/$name.linux.trace")"
  if cmp -s <(nofps "$out/$name.linux.trace") <(nofps "$out/$name.windows.trace"); then
    echo "same: $name ($frames frames)"
  else
    echo "DIFFERENT: $name; first difference:"
    diff <(nofps "$out/$name.linux.trace") <(nofps "$out/$name.windows.trace") | head -n 4
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
if [ -e "$named/トレース.trace" ] &&
  cmp -s <(nofps "$out/item_pickups.linux.trace") <(nofps "$named/トレース.trace"); then
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
