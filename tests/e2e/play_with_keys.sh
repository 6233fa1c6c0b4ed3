#!/usr/bin/env bash
# A player's first minute, in a real window under Xvfb with real keys (xdotool) and the sound
# mixed into a file by OpenAL Soft: Z starts stage 1, the ship flies into the first enemies'
# lane firing, destroys them (the score on screen changes), the shots and the explosions are
# heard in the mix; Esc ends the game with exit status 0.
# Usage: play_with_keys.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

e2e_start_x 1280x1024
printf '[general]\ndrivers = wave\n\n[wave]\nfile = %s\n' "$E2E_TMP/mix.wav" >"$E2E_TMP/alsoft.conf"
export ALSOFT_CONF="$E2E_TMP/alsoft.conf" ALSOFT_DRIVERS=wave
e2e_start_game "$GAME" --trace "$E2E_TMP/trace.jsonl"
e2e_focus_game

crop_score() {  # the score's place on the HUD line: nine digits from (500, 15)
  import -window "$GAME_WINDOW" "$E2E_TMP/$1.png" 2>/dev/null &&
    convert "$E2E_TMP/$1.png" -crop 100x24+500+12 +repage "$E2E_TMP/$1-score.png" ||
    e2e_fail "no picture of the window"
}

e2e_hold z 0.2                    # the title: start stage 1
sleep 0.3
crop_score start
e2e_hold z+Left 0.4               # into the lane at x 30, firing
e2e_hold z 4                      # the first enemies come down it and are shot
sleep 0.6                         # (a combo is paid 31 frames after its last kill)
crop_score end
xdotool key Escape
e2e_expect_exit "Esc"

changed="$(compare -metric AE "$E2E_TMP/start-score.png" "$E2E_TMP/end-score.png" null: 2>&1)"
[ "${changed%% *}" -gt 20 ] 2>/dev/null || e2e_fail "the score on screen did not change ($changed)"
e2e_log "the score's digits changed in $changed pixels"
python3 "$(dirname "$0")/check_play_with_keys.py" "$E2E_TMP/trace.jsonl" "$E2E_TMP/mix.wav" ||
  e2e_fail "the run's trace or sound is not what the keys should give"
e2e_log "PASS"
