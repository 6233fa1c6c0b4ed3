#!/usr/bin/env bash
# Settings as a player meets them, in a real window under Xvfb with real keys (xdotool) and the
# sound mixed into a file by OpenAL Soft. With settings.ini saying `fire = Space` and
# `volume = 50`, Space starts the game and fires while Z does nothing; then, without the file,
# O opens the options screen on the title, Esc leaves it and writes the file, Z fires. The
# first shot of the first run must be 6 dB (+-0.5) below the second's.
# Usage: settings.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

e2e_start_x 1280x1024
SETTINGS="$XDG_CONFIG_HOME/vorlith/settings.ini"
mkdir -p "$XDG_CONFIG_HOME/vorlith"

shots() { e2e_trace_eval 'sum(f["sounds"].count(0) for f in frames)'; }

# run NAME: the game with its mix in NAME.wav and its trace in NAME.jsonl.
run() {
  e2e_mix_to "$E2E_TMP/$1.wav"
  rm -f "$E2E_TRACE"
  e2e_start_game "$GAME" --trace "$E2E_TRACE"
  e2e_focus_game
}
finish() {
  xdotool key Escape
  e2e_expect_exit "Esc"
}

printf '[sound]\nvolume = 50\n[keys]\nfire = Space\n' >"$SETTINGS"
cp "$SETTINGS" "$E2E_TMP/written.ini"
run half
e2e_hold space 'f["scene"] == 0'
e2e_hold space 'f["time"] >= 60'
[ "$(shots)" -ge 5 ] || e2e_fail "Space fired $(shots) shots"
fired=$(shots)
e2e_hold z 'f["time"] >= 120'
[ "$(shots)" = "$fired" ] || e2e_fail "Z fired with fire = Space"
finish
cmp -s "$SETTINGS" "$E2E_TMP/written.ini" || e2e_fail "playing rewrote settings.ini"

rm "$SETTINGS"
run full
e2e_hold o 'f["scene"] == 3'
xdotool key Escape
e2e_wait_next 'f["scene"] == 1'
grep -qx 'fire = Z' "$SETTINGS" || e2e_fail "leaving the options did not write settings.ini"
e2e_hold z 'f["scene"] == 0'
e2e_hold z 'f["time"] >= 60'
finish

python3 "$(dirname "$0")/check_settings.py" "$E2E_TMP/half.wav" "$E2E_TMP/full.wav" ||
  e2e_fail "volume 50 is not 6 dB down"
e2e_log "PASS"
