#!/usr/bin/env bash
# The game in a real window under Xvfb and evilwm, driven like a player:
#   - "-w 800 -h 600" gives an 800 x 600 client area centred on the screen;
#   - "-f" starts in full screen, and Alt+Enter gives the centred default window;
#   - the window manager's maximize switches to full screen, and from there each Alt+Enter
#     switches exactly once between filling the screen and the centred window (maximize,
#     Alt+Enter, Alt+Enter, Alt+Enter, maximize); the sizes kept across switches are
#     GraphicsDeviceTest's;
#   - with another window in front the game is paused: in a stage, with the sound device
#     open (OpenAL Soft's silent output, which mixes like a real one), the whole process
#     uses no CPU at all over 3 s;
#   - Esc ends it with exit status 0; so does SIGTERM while it is in the background.
# Usage: window_modes.sh <game binary>   (run from data/)
source "$(dirname "$0")/lib.sh"

GAME="${1:?usage: $0 <game binary>}"
export ALSOFT_DRIVERS=null

e2e_start_x 1280x1024
read -r screen_w screen_h < <(e2e_screen_size)
full="0 0 $screen_w $screen_h"

# expect_geometry WHAT "X Y W H": the client area stands there within 30 s.
expect_geometry() {
  e2e_wait_until 30 e2e_geometry_is "$2" ||
    e2e_fail "$1: the window is '$(e2e_geometry)', expected '$2' (x y w h)"
  e2e_log "$1: $2"
}

# expect_settled WHAT "X Y W H": the client area stands there, and still does after the game
# has run 30 more frames (a mode that switches back on its own fails here).
expect_settled() {
  expect_geometry "$1" "$2"
  e2e_wait_frames 30
  e2e_geometry_is "$2" || e2e_fail "$1: the window went on to '$(e2e_geometry)'"
}

# centred W H: the client area of a window of that size centred with its frame.
centred() {
  echo "$(((screen_w - ($1 + left + right)) / 2 + left)) $(((screen_h - ($2 + top + bottom)) / 2 + top)) $1 $2"
}

# alt_enter WHAT "X Y W H": Alt+Enter in the game window, and where the client area stands then.
alt_enter() {
  e2e_focus_game
  xdotool key alt+Return
  expect_geometry "$@"
}

# Another window takes the focus from the game.
focus_other() {
  [ -n "${OTHER:-}" ] || e2e_other_window
  e2e_focus_game "$OTHER"
  e2e_wait_paused
}

e2e_start_game "$GAME" -w 800 -h 600 -fw 1024 -fh 768 --trace "$E2E_TRACE"
read -r left right top bottom < <(e2e_frame_extents)
expect_geometry "-w 800 -h 600 (frame $left $right $top $bottom)" "$(centred 800 600)"
e2e_focus_game
e2e_hold z 'f["scene"] == 0'  # stage 1, with its sound device

focus_other
e2e_expect_idle "in the background"
e2e_focus_game
xdotool key Escape
e2e_expect_exit "Esc"

e2e_start_game "$GAME" --trace "$E2E_TRACE"
e2e_focus_game
maximize() { wmctrl -i -r "$GAME_WINDOW" -b add,maximized_vert,maximized_horz; }
want="$full" n=0  # each step switches between full screen and the centred window
for step in maximize alt+Return alt+Return alt+Return maximize; do
  [ "$step" = maximize ] && maximize || xdotool key "$step"
  expect_settled "step $((++n)) of 5, $step" "$want"
  [ "$want" = "$full" ] && want="$(centred 640 480)" || want="$full"
done
xdotool key Escape
e2e_expect_exit "Esc"

e2e_start_game "$GAME" -f --trace "$E2E_TRACE"
expect_geometry "-f" "$full"
alt_enter "Alt+Enter from -f" "$(centred 640 480)"
focus_other
kill -TERM "$GAME_PID"
e2e_expect_exit "SIGTERM while paused"
echo "PASS"
