#!/usr/bin/env bash
# The real program's answers to its command line, on SDL's offscreen video driver (no X
# server needed; message boxes go to stderr):
#   - it plays (and then ends with status 0 on SIGTERM); start-up option values that no
#     device takes never crash or hang it: it shows the no-device message, captioned with the
#     title, and ends with status 1 (values that play are StartupOptionsTest's and
#     GraphicsDeviceTest's);
#   - help, version and usage errors with their exit statuses; a replay that does not parse
#     or an output that cannot be written runs nothing.
# Usage: command_line.sh <game binary>   (run from data/)
WORK_NAME=cli
source "$(dirname "$0")/offscreen_lib.sh"
pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$WORK"' EXIT

# The game plays (its trace reaches frame 30 within 60 s), and ends with status 0 within 30 s
# of SIGTERM.
"$GAME" --trace "$WORK/plays.jsonl" >"$WORK/log" 2>&1 &
pid=$!
python3 "$(dirname "$0")/wait_trace.py" "$WORK/plays.jsonl" 60 "$pid" 'f["frame"] >= 29' \
  >/dev/null 2>&1 || fail "no 30 frames"
kill -TERM "$pid" 2>/dev/null
timeout 30 tail --pid="$pid" -f /dev/null || { fail "hangs after SIGTERM"; kill -KILL "$pid"; }
status=0
wait "$pid" || status=$?
pid=""
[ "$status" = 0 ] && echo "ok   plays" || fail "status $status on SIGTERM"
# The no-device message names OpenGL 3.3 and ends with the reason the driver gave.
for args in "-w abc" "-w 0" "-h -1" "-w 100000 -h 100000" "-ww 99999999999999999999" "-f -fw 0"; do
  run 1 '^\[061216\] Vorlith ver0\.24: このプログラムにはOpenGL 3\.3以上が必要です' $args
  reason="$(tail -1 "$WORK/log")"
  [[ "$reason" =~ back\ buffer\ of\ -?[0-9]+\ x\ -?[0-9]+ ]] && echo "     reason: $reason" ||
    fail "$args : no reason at the end of the message: $reason"
done

# No display: one line saying so, and status 1 (not a game running invisibly).
GAME_ITSELF="$GAME" GAME=/usr/bin/env
no_display=(-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)
run 1 '^vorlith: no display: neither DISPLAY nor WAYLAND_DISPLAY is set; .*--headless --replay' \
  "${no_display[@]}" "$GAME_ITSELF"
run 1 '^vorlith: no display: cannot open DISPLAY=:4242 .*--headless --replay' \
  "${no_display[@]}" DISPLAY=:4242 "$GAME_ITSELF"  # (no X server there)
GAME="$GAME_ITSELF"

# Without a sound card the player sees only the game's own line, none of the libraries' own.
printf 'vorlith-replay 1\n2 -\n1 Z\n10 -\n' >"$WORK/stage.replay"
ALSOFT_DRIVERS=alsa ALSA_CARD=vorlith_no_such_card \
  run 0 '^vorlith: no audio output device' --replay "$WORK/stage.replay"
grep -v '^vorlith: no audio output device' "$WORK/log" | grep -q . &&
  fail "more than the game's own line without a sound card"

printf 'vorlith-replay 1\n5 Z\n2 Q\n' >"$WORK/bad.replay"
printf 'vorlith-replay 1\n5 Z\n' >"$WORK/good.replay"
run 0 '--replay FILE' --help
run 0 '^Vorlith [0-9]' --version
run 2 'cannot be used with --headless' --replay "$WORK/bad.replay" --headless --screenshot 1:x.png
run 2 "^vorlith: $WORK/bad.replay:3: unknown control 'Q'" \
  --headless --replay "$WORK/bad.replay" --trace "$WORK/trace.jsonl"
run 2 "^vorlith: $WORK/no/trace.jsonl: cannot write the trace" \
  --headless --replay "$WORK/good.replay" --trace "$WORK/no/trace.jsonl"
run 2 "^vorlith: unknown option '--hlep' \(did you mean --help\?\) \(see --help\)" --hlep
# Every output is checked before any is opened: a usage error truncates nothing.
echo kept >"$WORK/p.jsonl"
run 2 "^vorlith: /nonexist/x.replay: cannot write the replay: No such file" \
  --headless --replay "$WORK/good.replay" --trace "$WORK/p.jsonl" --record /nonexist/x.replay
run 2 "^vorlith: $WORK: cannot write the replay: Is a directory" \
  --headless --replay "$WORK/good.replay" --trace "$WORK/p.jsonl" --record "$WORK"
[ "$(cat "$WORK/p.jsonl")" = kept ] || fail "a usage error truncated an existing output"
# A replay of no frames plays nothing, and still makes its outputs: an empty trace, a
# recording of the header alone.
printf 'vorlith-replay 1\n# nothing\n' >"$WORK/header.replay"
run 0 "" --headless --replay "$WORK/header.replay" --trace "$WORK/h.jsonl" \
  --record "$WORK/h.replay"
[ -f "$WORK/h.jsonl" ] && [ ! -s "$WORK/h.jsonl" ] && [ "$(cat "$WORK/h.replay")" = "vorlith-replay 1" ] ||
  fail "a replay of no frames did not make an empty trace and a header-only recording"
[ -e "$WORK/trace.jsonl" ] && fail "a replay that does not parse still ran"
finish
