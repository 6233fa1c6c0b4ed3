# Helpers for the install tests: the game started in a chosen directory, stage 1 started with
# Z, a picture of the playfield checked, Esc. Source it instead of lib.sh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# play_stage_from DIR SHOT BINARY ARGS...: starts the game in DIR, starts stage 1 with Z,
# saves a picture of the window as SHOT (kept, see e2e_keep) and checks it shows the play
# scene (the grey panel, the black field, the blue ship at the bottom centre), then quits with
# Esc (status 0) and checks that nothing was written into DIR.
play_stage_from() {
  local dir="$1" shot="$2" panel field ship
  shift 2
  e2e_start_game env -C "$dir" "$@" --trace "$E2E_TRACE"
  e2e_focus_game
  e2e_hold z 'f["scene"] == 0'
  e2e_wait_frames 30
  import -window "$GAME_WINDOW" "$shot" || e2e_fail "no picture of the window"
  # The panel's and the field's colours, and the brightest blue where the ship stands.
  read -r panel field ship < <(python3 - "$(dirname "${BASH_SOURCE[0]}")" "$shot" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1])
from probe_screenshots import Picture
p = Picture(sys.argv[2])
print("%d,%d,%d" % p.at(20, 470), "%d,%d,%d" % p.at(250, 240),
      max(p.at(x, y)[2] for x in range(382, 418) for y in range(350, 386)))
EOF
  )
  e2e_keep "$shot"
  e2e_log "panel ($panel), field ($field), ship blue $ship"
  [ "$panel" = 50,50,50 ] || e2e_fail "no grey status panel after Z: ($panel), picture $shot"
  [ "$field" = 0,0,0 ] || e2e_fail "the field is not black: ($field)"
  [ "$ship" -ge 150 ] || e2e_fail "no ship at the bottom of the field (blue $ship)"
  e2e_focus_game
  xdotool key Escape
  e2e_expect_exit "Esc"
  [ -z "$(ls -A "$dir")" ] || e2e_fail "the game wrote into its working directory: $(ls -A "$dir")"
}
