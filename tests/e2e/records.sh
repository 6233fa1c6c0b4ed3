#!/usr/bin/env bash
# A run kept as a player plays it, in a real window under Xvfb with real keys: Z starts stage
# 1, the ship sits in the first enemies' lane without firing until it is lost, V ends the run
# (or C on "Stage Clear!!", should the enemies' fire beat the boss first);
# the table in a fresh XDG_DATA_HOME then holds its score, H shows the table, Z there watches
# the run (Esc goes back), and the entry's replay played headless ends the run with that same
# score.
# A --replay run afterwards leaves the folder as it was.
# Usage: records.sh <game binary>   (run from data/; a wrapper may run another build)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"
# The player's data folder of the game tried (E2E_RECORDS_FOLDER for one that puts it elsewhere,
# as the Windows build under Wine does in the prefix's %APPDATA%\Vorlith).
FOLDER="${E2E_RECORDS_FOLDER:-$XDG_DATA_HOME/vorlith}"

e2e_start_x 1280x1024
e2e_start_game "$GAME" --trace "$E2E_TRACE"
e2e_focus_game

e2e_hold z 'f["scene"] == 0'
e2e_hold Left 'f["ship"]["x"] <= 30'
# Mostly the ship is lost; where the enemies' fire beats the boss first, C ends the run.
e2e_wait_trace 'f["ship"] and (f["ship"]["finished"] or f["boss"] and f["boss"]["finished"])' 300
end="$(e2e_trace_eval '"v" if frames[-1]["ship"]["finished"] else "c"')"
e2e_hold "$end" 'f["scene"] == 1'
last_score='[f for f in frames if f["scene"] == 0][-1]["score"]'
score="$(e2e_trace_eval "$last_score")"
e2e_log "the run ended with $score points"
e2e_hold h 'f["scene"] == 2'
sleep 0.5
e2e_shot table || e2e_fail "no picture of the table"
e2e_keep "$E2E_TMP/table.png"
# Z watches the entry in the window; Esc goes back to the table, then to the title.
e2e_hold z 'f["scene"] == 0 and f["time"] >= 30'
xdotool key Escape
e2e_wait_next 'f["scene"] == 2'
xdotool key Escape
e2e_wait_next 'f["scene"] == 1'
sleep 0.3
e2e_shot title || e2e_fail "no picture of the title"
e2e_keep "$E2E_TMP/title.png"
xdotool key Escape
e2e_expect_exit "Esc"

[ -f "$FOLDER/scores.txt" ] || e2e_fail "no table in $FOLDER: $(ls -A "$FOLDER" 2>&1)"
read -r kept stage frames day time replay < <(sed -n 2p "$FOLDER/scores.txt")
[ "$kept" = "$score" ] || e2e_fail "the table holds $kept, the run ended with $score"
[ "$(sed -n 2p "$FOLDER/$replay")" = "version $("$GAME" --version | tr -d '\r' | cut -d' ' -f2) 1" ] ||
  e2e_fail "the replay does not name the game's version: $(head -3 "$FOLDER/$replay")"
before="$(ls -l --time-style=+%s.%N "$FOLDER")"
e2e_run "the kept replay" "$GAME" --headless --no-pacing --replay "$FOLDER/$replay" \
  --trace "$E2E_TMP/replayed.jsonl"
replayed="$(e2e_trace_eval "len(frames), $last_score, frames[-1]['scene']" \
  "$E2E_TMP/replayed.jsonl")"
[ "$replayed" = "($frames, $score, 1)" ] ||
  e2e_fail "the replay played '$replayed' (frames, score, scene), not '$frames $score 1'"
[ "$(ls -l --time-style=+%s.%N "$FOLDER")" = "$before" ] || e2e_fail "the --replay run wrote into $FOLDER"
e2e_log "kept: $kept points, stage $stage, $frames frames, played back to the same score"
e2e_log "PASS"
