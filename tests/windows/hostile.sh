#!/usr/bin/env bash
# The hostile .x and WAVE regression files (tests/data/x-regressions, wav-regressions), each
# put in place of one of the game's files in a copy of data/, played with the Windows build
# under Wine and with a Linux build: the game must end normally with the same trace (the data
# directory's spelling aside), the file refused with a message where Linux refuses it.
# Usage: bash tests/windows/hostile.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/windows/wine.sh" "$@"
replay="$root/tests/replays/item_pickups.replay"  # loads every model and plays both sounds

# The data directory as each side spells it in messages, made one.
normalized() { nofps "$1" | sed "s#$2#DATA#g"; }

failed=0
for hostile in "$root"/tests/data/x-regressions/* "$root"/tests/data/wav-regressions/*; do
  case "$hostile" in
    *.x) target=model/enemy.x ;;
    *) target=sound/se_sad04.wav ;;
  esac
  data="$out/data"
  rm -rf "$data" && cp -r "$root/data" "$data" && cp "$hostile" "$data/$target"
  name="$(basename "$hostile")"
  VORLITH_DATA_DIR="$data" "$linux" --headless --no-pacing --replay "$replay" \
    --trace "$out/linux.trace" >/dev/null 2>&1 || true  # its sanitizers may report the helper
  status=0
  VORLITH_DATA_DIR="$(windows_path "$data")" run_wine "$exe" --headless --no-pacing \
    --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/windows.trace")" \
    >"$out/windows.log" 2>&1 || status=$?
  wdata="$(windows_path "$data" | sed 's/\\/\\\\\\\\/g')"
  if [ "$status" -ne 0 ]; then
    echo "FAILED: $name ended with status $status"
    failed=1
  elif ! cmp -s <(normalized "$out/linux.trace" "$data") \
    <(normalized "$out/windows.trace" "$wdata"); then
    echo "DIFFERENT: $name as $target"
    diff <(normalized "$out/linux.trace" "$data") <(normalized "$out/windows.trace" "$wdata") |
      head -n 4 | cut -c1-400
    failed=1
  else
    echo "same: $name as $target"
  fi
done
exit "$failed"
