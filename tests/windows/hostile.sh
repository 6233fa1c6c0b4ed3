#!/usr/bin/env bash
# The hostile .x and WAVE regression files (tests/data/x-regressions, wav-regressions), each
# put in place of one of the game's files in a copy of data/, played with the Windows build
# under Wine and with a Linux build: the game must end normally with the same trace (the data
# directory's spelling aside), the file refused with a message where Linux refuses it.
# Usage: bash tests/windows/hostile.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail
source "$(dirname "$0")/wine.sh" "$@"
replay="$root/tests/replays/item_pickups.replay"  # loads every model and plays both sounds

for hostile in "$root"/tests/data/x-regressions/* "$root"/tests/data/wav-regressions/*; do
  case "$hostile" in
    *.x) target=model/enemy.x ;;
    *) target=sound/se_sad04.wav ;;
  esac
  data="$out/data"
  rm -rf "$data" && cp -r "$root/data" "$data" && cp "$hostile" "$data/$target"
  name="$(basename "$hostile")"
  VORLITH_DATA_DIR="$data" linux_trace "$replay" "$out/linux.trace"
  status=0
  VORLITH_DATA_DIR="$(windows_path "$data")" run_wine "$exe" --headless --no-pacing \
    --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/windows.trace")" \
    >"$out/windows.log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || { fail "$name ended with status $status"; continue; }
  # The data directory as each side spells it in messages (JSON doubles Windows' backslashes).
  sed -i "s#$data#DATA#g" "$out/linux.trace"
  sed -i "s#$(windows_path "$data" | sed 's/\\/\\\\\\\\/g')#DATA#g" "$out/windows.trace"
  same_trace "$name as $target" "$out/linux.trace" "$out/windows.trace" || failed=1
done
exit "$failed"
