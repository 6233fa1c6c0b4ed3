#!/usr/bin/env bash
# The build tree's program started from a directory far from data/: it finds its data, plays
# stage 1 and writes nothing where it was started; file names on its command line stay
# relative to that directory; a data directory that cannot be found is named, status 1.
# Usage: data_from_anywhere.sh <game binary>
source "$(dirname "$0")/install_lib.sh"

GAME="$(realpath "${1:?usage: $0 <game binary>}")"
HERE="$(cd "$(dirname "$0")" && pwd)"
DATA="$(cd "$HERE/../../data" && pwd)"
touch "$E2E_TMP/start"

# Command-line files: read and written relative to the starting directory, headless.
mkdir "$E2E_TMP/runs"
cp "$HERE/../replays/item_pickups.replay" "$E2E_TMP/runs/in.replay"
e2e_run "the replay from another directory" env -C "$E2E_TMP/runs" ASAN_OPTIONS=detect_leaks=0 \
  "$GAME" --headless --no-pacing --replay in.replay --trace out.jsonl
[ "$(ls "$E2E_TMP/runs")" = "$(printf 'in.replay\nout.jsonl')" ] ||
  e2e_fail "unexpected files where the game started: $(ls "$E2E_TMP/runs")"
grep -q '"ship": *{' "$E2E_TMP/runs/out.jsonl" ||
  e2e_fail "the trace shows no ship: the stage did not start"
e2e_log "replay and trace relative to the starting directory"

# A data directory named in the environment that holds no data: one message, status 1.
status=0
SDL_VIDEODRIVER=offscreen VORLITH_DATA_DIR="$E2E_TMP/nowhere" "$GAME" >"$E2E_TMP/nodata.log" 2>&1 ||
  status=$?
[ "$status" = 1 ] || e2e_fail "a missing data directory gave status $status"
grep -q "$E2E_TMP/nowhere" "$E2E_TMP/nodata.log" ||
  e2e_fail "the message does not name where it looked: $(cat "$E2E_TMP/nodata.log")"
e2e_log "no data: $(cat "$E2E_TMP/nodata.log")"

# Played in a window from an empty directory.
e2e_start_x 1280x1024
mkdir "$E2E_TMP/elsewhere"
play_stage_from "$E2E_TMP/elsewhere" "$E2E_TMP/from_elsewhere.png" "$GAME"
[ -z "$(find "$DATA" -newer "$E2E_TMP/start")" ] || e2e_fail "the game wrote into $DATA"
e2e_log "PASS"
