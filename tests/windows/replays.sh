#!/usr/bin/env bash
# Plays every committed replay headless with the Windows build under Wine and with a Linux
# build, and checks that their traces are the same byte for byte apart from "fps"; then one
# of them again with the data, the replay and the trace under non-ASCII names (UTF-8 paths);
# then the exit statuses of a usage error and of a run without a display.
# Usage: bash tests/windows/replays.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail
source "$(dirname "$0")/wine.sh" "$@"

for replay in "$root"/tests/replays/*.replay; do
  name="$(basename "$replay" .replay)"
  linux_trace "$replay" "$out/$name.linux.trace"
  run_wine "$exe" --headless --no-pacing \
    --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/$name.windows.trace")" \
    >/dev/null
  same_trace "$name" "$out/$name.linux.trace" "$out/$name.windows.trace" || failed=1
done

# The data, the replay and the trace in a folder with a Japanese name.
named="$out/データ"
rm -rf "$named" && cp -r "$root/data" "$named"
cp "$root/tests/replays/item_pickups.replay" "$named/リプレイ.replay"
VORLITH_DATA_DIR="$(windows_path "$named")" run_wine "$exe" --headless --no-pacing \
  --replay "$(windows_path "$named/リプレイ.replay")" \
  --trace "$(windows_path "$named/トレース.trace")" >/dev/null
same_trace "item_pickups with UTF-8 paths" "$out/item_pickups.linux.trace" "$named/トレース.trace" ||
  failed=1
rm -rf "$named"

# Exit statuses as on Linux: 2 for a usage error, 1 without a graphics device (no display).
expect_status() {
  local want="$1" status=0
  shift
  "$@" >"$out/status.log" 2>&1 || status=$?
  [ "$status" -eq "$want" ] && echo "status $status: $(tail -n 1 "$out/status.log" | cut -c1-80)" ||
    fail "status $status, not $want: $*"
}
expect_status 2 run_wine "$exe" --no-such-option
expect_status 1 env -u DISPLAY "$wine" "$exe" --no-pacing \
  --replay "$(windows_path "$root/tests/replays/title_idle.replay")"
exit "$failed"
