#!/usr/bin/env bash
# The game in a real window under Xvfb and evilwm, driven like a player:
#   - "-w 800 -h 600" gives an 800 x 600 client area centred on the screen;
#   - Alt+Enter fills the screen, Alt+Enter again gives the centred window back;
#   - "-f" starts in full screen, and Alt+Enter gives the centred default window;
#   - with another window in front the game is paused and uses next to no CPU;
#   - the title shows on dark blue;
#   - Esc ends it with exit status 0; so do SIGTERM and the window manager's close.
# Usage: window_modes.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"
PAUSED_SECONDS=5
PAUSED_MAX_PERCENT=2   # of one core

e2e_start_x 1280x1024
read -r screen_w screen_h < <(e2e_screen_size)

e2e_start_game "$GAME" -w 800 -h 600 -fw 1024 -fh 768
read -r left right top bottom < <(e2e_frame_extents)
centred_x=$(((screen_w - (800 + left + right)) / 2 + left))
centred_y=$(((screen_h - (600 + top + bottom)) / 2 + top))
centred="$centred_x $centred_y 800 600"
e2e_wait_until 30 e2e_geometry_is "$centred" ||
  e2e_fail "window is '$(e2e_geometry)', expected '$centred' (x y w h)"
e2e_log "window: $(e2e_geometry) with frame $left $right $top $bottom: centred"

e2e_title_shows() {
  import -window "$GAME_WINDOW" "$E2E_TMP/title.png" 2>/dev/null &&
    [ "$(convert "$E2E_TMP/title.png" -format '%[pixel:p{10,10}]' info:)" = "srgb(0,0,64)" ]
}
e2e_wait_until 30 e2e_title_shows || e2e_fail "the window does not show the dark blue title"
e2e_log "title on dark blue"

e2e_focus_game || e2e_fail "the game window does not take the focus"
xdotool key alt+Return
full="0 0 $screen_w $screen_h"
e2e_wait_until 30 e2e_geometry_is "$full" ||
  e2e_fail "after Alt+Enter the window is '$(e2e_geometry)', expected '$full'"
e2e_log "Alt+Enter: full screen $(e2e_geometry)"

e2e_focus_game || e2e_fail "the full-screen game does not take the focus"
xdotool key alt+Return
e2e_wait_until 30 e2e_geometry_is "$centred" ||
  e2e_fail "after the second Alt+Enter the window is '$(e2e_geometry)', expected '$centred'"
e2e_log "Alt+Enter again: window $(e2e_geometry)"

# Another window in front: the game must pause and sleep.
xmessage -geometry +0+0 "in front of the game" >/dev/null 2>&1 &
E2E_PIDS+=($!)
other=""
e2e_wait_until 30 eval 'other="$(xdotool search --onlyvisible --name "^xmessage$" | head -1)"; [ -n "$other" ]' ||
  e2e_fail "the other window did not appear"
xdotool windowactivate --sync "$other" >/dev/null 2>&1 || xdotool windowfocus --sync "$other"
e2e_wait_until 10 eval '[ "$(xdotool getwindowfocus)" = "$other" ]' || e2e_fail "focus stays on the game"
sleep 1  # let the last frame and the focus change settle
hz=$(getconf CLK_TCK)
before=$(e2e_cpu_ticks)
sleep "$PAUSED_SECONDS"
after=$(e2e_cpu_ticks)
used=$((after - before))
percent_x100=$((used * 10000 / (hz * PAUSED_SECONDS)))
e2e_log "paused: $used ticks of $hz/s in ${PAUSED_SECONDS} s = $((percent_x100 / 100)).$(printf %02d $((percent_x100 % 100)))% of a core"
[ "$used" -le $((hz * PAUSED_SECONDS * PAUSED_MAX_PERCENT / 100)) ] ||
  e2e_fail "the paused game uses more than ${PAUSED_MAX_PERCENT}% of a core"

e2e_focus_game || e2e_fail "the game does not take the focus back"
xdotool key Escape
e2e_wait_exit 30 || e2e_fail "the game did not end within 30 s of Esc"
[ "$GAME_STATUS" = 0 ] || e2e_fail "Esc ended the game with status $GAME_STATUS"
e2e_log "Esc: exit status 0"

# The same end for SIGTERM, also while paused in the background.
e2e_start_game "$GAME"
default="$(((screen_w - (640 + left + right)) / 2 + left)) $(((screen_h - (480 + top + bottom)) / 2 + top)) 640 480"
e2e_wait_until 30 e2e_geometry_is "$default" || e2e_fail "default window is '$(e2e_geometry)'"
xdotool windowactivate --sync "$other" >/dev/null 2>&1 || xdotool windowfocus --sync "$other"
sleep 1
kill -TERM "$GAME_PID"
e2e_wait_exit 30 || e2e_fail "the game did not end within 30 s of SIGTERM"
[ "$GAME_STATUS" = 0 ] || e2e_fail "SIGTERM ended the game with status $GAME_STATUS"
e2e_log "SIGTERM while paused: exit status 0"

# The window manager's close (evilwm: Ctrl+Alt+Esc asks the window to close).
e2e_start_game "$GAME"
e2e_focus_game || e2e_fail "the game window does not take the focus"
xdotool key ctrl+alt+Escape
e2e_wait_exit 30 || e2e_fail "the game did not end within 30 s of the close request"
[ "$GAME_STATUS" = 0 ] || e2e_fail "closing ended the game with status $GAME_STATUS"
e2e_log "close: exit status 0"

e2e_start_game "$GAME" -f
e2e_wait_until 30 e2e_geometry_is "$full" || e2e_fail "-f gives '$(e2e_geometry)', not '$full'"
e2e_focus_game || e2e_fail "the full-screen game does not take the focus"
xdotool key alt+Return
e2e_wait_until 30 e2e_geometry_is "$default" ||
  e2e_fail "leaving the -f full screen gives '$(e2e_geometry)', not '$default'"
e2e_log "-f: full screen, then the centred default window"
xdotool key Escape
e2e_wait_exit 30 || e2e_fail "the game did not end within 30 s of Esc"
echo "PASS"
