# Helpers for the install tests: the game started in a chosen directory, stage 1 started with
# Z, a picture of the playfield checked, Esc. Source it instead of lib.sh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# e2e_pixel FILE X Y: prints "r g b" of one pixel (0..255).
e2e_pixel() {
  local p="p{$2,$3}"
  convert "$1" -format "%[fx:round(255*$p.r)] %[fx:round(255*$p.g)] %[fx:round(255*$p.b)]" info:
}

# e2e_brightest_blue FILE W H X Y: the highest blue value (0..255) in that rectangle.
e2e_brightest_blue() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -format "%[fx:round(255*maxima.b)]" info:
}

# play_stage_from DIR SHOT BINARY ARGS...: starts the game in DIR, starts stage 1 with Z,
# saves a picture of the window as SHOT (kept, see e2e_keep) and checks it shows the play
# scene (the grey panel, the black field, the blue ship at the bottom centre), then quits with
# Esc (status 0) and checks that nothing was written into DIR.
play_stage_from() {
  local dir="$1" shot="$2" panel field ship
  shift 2
  pushd "$dir" >/dev/null || e2e_fail "no directory $dir"
  e2e_start_game "$@" --trace "$E2E_TRACE"
  popd >/dev/null
  e2e_focus_game
  e2e_hold z 'f["scene"] == 0'
  e2e_wait_frames 30
  import -window "$GAME_WINDOW" "$shot" || e2e_fail "no picture of the window"
  panel="$(e2e_pixel "$shot" 20 470)"
  field="$(e2e_pixel "$shot" 250 240)"
  ship="$(e2e_brightest_blue "$shot" 36 36 382 350)"
  e2e_keep "$shot"
  e2e_log "panel ($panel), field ($field), ship blue $ship"
  [ "$panel" = "50 50 50" ] || e2e_fail "no grey status panel after Z: ($panel), picture $shot"
  [ "$field" = "0 0 0" ] || e2e_fail "the field is not black: ($field)"
  [ "$ship" -ge 150 ] || e2e_fail "no ship at the bottom of the field (blue $ship)"
  e2e_focus_game
  xdotool key Escape
  e2e_expect_exit "Esc"
  [ -z "$(ls -A "$dir")" ] || e2e_fail "the game wrote into its working directory: $(ls -A "$dir")"
}
