#!/usr/bin/env bash
# Screenshots of the real program (OpenGL in a window under Xvfb) at chosen frames of the
# replays, checked by pixel probes against the traces of the same runs.
# Usage: stage_screenshots.sh <game binary>   (run from data/)
# With VORLITH_SHOTS_DIR set, the pictures are also copied there to be looked at.
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"
HERE="$(cd "$(dirname "$0")" && pwd)"

e2e_start_x 1280x1024
for replay in boss_stage_clear game_over_continue_return; do
  shots=()
  for frame in $(python3 "$HERE/probe_screenshots.py" --frames "$replay"); do
    shots+=(--screenshot "$frame:$E2E_TMP/$replay-$frame.png")
  done
  e2e_start_game "$GAME" --no-pacing --replay "$HERE/../replays/$replay.replay" \
    --trace "$E2E_TMP/$replay.jsonl" "${shots[@]}"
  e2e_focus_game
  e2e_expect_exit "playing $replay" 600
done

for size in 640x480 800x600; do
  e2e_start_game "$GAME" --no-pacing --replay "$HERE/../replays/item_pickups.replay" \
    -w "${size%x*}" -h "${size#*x}" --screenshot "300:$E2E_TMP/look-$size.png"
  e2e_focus_game
  e2e_expect_exit "the $size look" 300
  # The FPS line's digits may differ; anything more is a different picture.
  differing=$(compare -metric AE -fuzz 5% "$E2E_TMP/look-$size.png" "$HERE/../../docs/look-$size.png" \
    null: 2>&1) || true
  [ "${differing%% *}" -le 400 ] 2>/dev/null ||
    e2e_fail "the README's $size look differs from the program's picture in $differing pixels"
done

e2e_keep "$E2E_TMP"/*.png "$E2E_TMP"/*.jsonl
python3 "$HERE/probe_screenshots.py" "$E2E_TMP" || e2e_fail "the screenshots do not show what the traces say"
e2e_log "PASS"
