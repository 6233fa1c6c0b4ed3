#!/usr/bin/env bash
# P pauses a game in play and P goes on, in a real window under Xvfb with real keys: while
# paused no frame runs (the trace stops growing), the window shows the last picture with the
# "PAUSE" label over it, and the game uses no CPU at all; the picture stays through Alt+Enter
# to full screen and back (and the repaints they bring); after the second P play goes on.
# The session, recorded with its pause, plays back headless with the live run's trace (but
# for the frame rate).
# Usage: pause.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"

E2E_TRACE="$E2E_TMP/live.jsonl"
e2e_start_x 1280x1024
e2e_start_game "$GAME" --record "$E2E_TMP/live.replay" --trace "$E2E_TRACE"
e2e_focus_game

frames() { e2e_frames_written; }

# The label: a black box of 35 x 13 cells of 3 pixels in the middle of the 640 x 480 window,
# with the 81 white cells of the letters; nothing but black and white in it.
LABEL_BOX="105x39+267+221"
label_colours() {
  convert "$E2E_TMP/$1.png" -crop "$LABEL_BOX" +repage -format '%k %[fx:mean*455]' info:
}
shows_label() {
  e2e_shot "$1" || return 1
  local colours mean
  read -r colours mean <<<"$(label_colours "$1")"
  [ "$colours" = 2 ] && awk -v m="$mean" 'BEGIN { exit !(m > 80.5 && m < 81.5) }'
}
shows_no_label() { e2e_shot "$1" && ! shows_label "$1"; }

e2e_hold z 'f["scene"] == 0'
e2e_hold z+Left 'f["ship"] is not None and f["ship"]["x"] < 45'
e2e_wait_trace 'f["frame"] > 60' 20

xdotool key p
e2e_wait_until 20 shows_label paused || e2e_fail "no PAUSE label after P"
e2e_log "paused at frame $(frames); label: $(label_colours paused)"
paused_at=$(frames)
e2e_expect_idle "paused"  # (the frame count and the labelled picture are checked below)
e2e_keep "$E2E_TMP/paused.png"

# Alt+Enter while paused: the full screen shows the paused picture scaled in (as bright as the
# window's, but for the letterbox bars), and back in the window it is the same picture.
mean() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }
fullscreen_shows_picture() {
  e2e_geometry_is 0 0 $(e2e_screen_size) && e2e_shot full root &&
    awk -v f="$(mean "$E2E_TMP/full.png")" -v w="$(mean "$E2E_TMP/paused.png")" \
      'BEGIN { exit !(f > 0.7 * w && f < 1.1 * w) }'
}
same_as_paused() {
  e2e_shot back &&
    [ "$(compare -metric AE "$E2E_TMP/paused.png" "$E2E_TMP/back.png" null: 2>&1)" = 0 ]
}
xdotool key alt+Return
e2e_wait_until 20 fullscreen_shows_picture ||
  e2e_fail "the paused picture is gone in full screen (mean $(mean "$E2E_TMP/full.png"))"
xdotool key alt+Return
e2e_wait_until 20 same_as_paused || e2e_fail "the paused picture is not back in the window"
[ "$(frames)" -eq "$paused_at" ] || e2e_fail "frames ran while paused"
e2e_focus_game

xdotool key p
e2e_wait_trace "f['frame'] > $((paused_at + 30))" 20  # play goes on after P
e2e_wait_until 20 shows_no_label resumed || e2e_fail "the label stays after the second P"
e2e_hold z+Right 'f["ship"] is not None and f["ship"]["x"] > 47'
e2e_log "play went on: frame $(frames)"

xdotool key Escape
e2e_expect_exit "Esc"

e2e_replay_matches "$E2E_TMP/live.replay" "$E2E_TMP/live.jsonl"
e2e_log "PASS: $(frames) frames with a pause played back identically"
