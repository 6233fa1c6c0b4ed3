#!/usr/bin/env bash
# Ctrl+C under Wine (which turns SIGINT into the console's CTRL_C_EVENT) ends a paced headless
# replay of the Windows build as SIGINT ends the Linux build's: status 0, the trace whole up to
# the last frame played (the same lines as the whole replay's, "fps" aside), and the model
# importer's helper process gone with the game.
# Usage: bash tests/windows/quit.sh WINDOWS_BUILD_DIR LINUX_VORLITH [OUT_DIR]
set -euo pipefail
source "$(dirname "$0")/wine.sh" "$@"
replay="$root/tests/replays/boss_stage_clear.replay"

linux_trace "$replay" "$out/linux.trace"
rm -f "$out/windows.trace"
"$wine" "$exe" --headless --replay "$(windows_path "$replay")" \
  --trace "$(windows_path "$out/windows.trace")" >"$out/windows.log" 2>&1 &
game=$!  # Wine's own process (a function or subshell in between would ignore SIGINT)
python3 "$root/tests/e2e/wait_trace.py" "$out/windows.trace" 60 "$game" 'f["frame"] >= 119' || true
helper="$(pgrep -f -- "--helper-process" || true)"
kill -INT "$game"
status=0
wait "$game" || status=$?
frames="$(wc -l <"$out/windows.trace")"
[ "$status" -eq 0 ] || fail "status $status after Ctrl+C"
[ "$frames" -ge 120 ] && [ "$frames" -lt "$(wc -l <"$out/linux.trace")" ] &&
  cmp -s <(nofps "$out/windows.trace") <(nofps "$out/linux.trace" | head -n "$frames") &&
  echo "same: the first $frames frames of boss_stage_clear, ended by Ctrl+C with status $status" ||
  fail "the trace of $frames frames is not the replay's beginning, whole"
[ -n "$helper" ] || fail "no helper process seen while the game ran"
sleep 1
[ -z "$(pgrep -f -- "--helper-process" || true)" ] || fail "the helper process outlived the game"
exit "$failed"
