#!/usr/bin/env bash
# A player's first minute, in a real window under Xvfb with real keys (xdotool) and the sound
# mixed into a file by OpenAL Soft: Z starts stage 1, the ship flies into the first enemies'
# lane firing, destroys them (the score on screen changes), the shots and the explosions are
# heard in the mix; Esc ends the game with exit status 0.
# Usage: play_with_keys.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

e2e_start_x 1280x1024
e2e_mix_to "$E2E_TMP/mix.wav"
e2e_start_game "$GAME" --trace "$E2E_TRACE"
e2e_focus_game

crop_score() {  # the score's place on the HUD line: nine digits from (500, 15)
  e2e_shot "$1" && convert "$E2E_TMP/$1.png" -crop 100x24+500+12 +repage "$E2E_TMP/$1-score.png" ||
    e2e_fail "no picture of the window"
}
score_changed() {
  crop_score end
  changed="$(compare -metric AE "$E2E_TMP/start-score.png" "$E2E_TMP/end-score.png" null: 2>&1)"
  [ "${changed%% *}" -gt 20 ] 2>/dev/null
}

e2e_hold z 'f["scene"] == 0'      # the title: Z starts stage 1
e2e_wait_trace 'f["time"] >= 10'  # (the HUD with the score 0 is up)
crop_score start
e2e_hold z+Left 'f["ship"]["x"] <= 30'  # into the lane at x 30, firing
# The first enemies come down it and are shot; firing on for four seconds of play.
e2e_hold z 'f["time"] >= 250 and f["kills"] >= 1'
e2e_wait_next 'f["combo"] == 0'   # a combo is paid 31 frames after its last kill
e2e_wait_until 10 score_changed || e2e_fail "the score on screen did not change ($changed)"
xdotool key Escape
e2e_expect_exit "Esc"

e2e_log "the score's digits changed in $changed pixels"
python3 "$(dirname "$0")/check_play_with_keys.py" "$E2E_TRACE" "$E2E_TMP/mix.wav" ||
  e2e_fail "the run's trace or sound is not what the keys should give"
e2e_log "PASS"
