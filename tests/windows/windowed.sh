#!/usr/bin/env bash
# Plays a committed replay with the Windows build under Wine and with a Linux build, each in a
# window on a fresh Xvfb (with evilwm), taking the same screenshots; checks that the traces
# are the same apart from "fps" and the screenshots apart from the FPS readout; and that a
# screenshot never taken ends the run with status 3.
# Usage: bash tests/windows/windowed.sh WINDOWS_BUILD_DIR LINUX_VORLITH REPLAY FRAME...
# (the files in $VORLITH_WINDOWS_OUT, else in a new temporary directory)
set -euo pipefail
[ $# -ge 4 ] || set --  # the usage line
source "$(dirname "$0")/wine.sh" "${@:1:2}" "${VORLITH_WINDOWS_OUT:-}"
replay="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
shift 3
source "$root/tests/e2e/lib.sh"
e2e_start_x 1024x768

name="$(basename "$replay" .replay)"
shots=()
linux_shots=()
for frame in "$@"; do
  shots+=(--screenshot "$frame:$(windows_path "$out/$name-$frame.png")")
  linux_shots+=(--screenshot "$frame:$out/$name-$frame.linux.png")
done
(cd "$root/data" && "$linux" --no-pacing --replay "$replay" --trace "$out/$name.linux.trace" \
  "${linux_shots[@]}" >/dev/null 2>&1) || true  # a sanitizer build's leak report may end it 1
start=$(date +%s.%N)
VORLITH_DATA_DIR="$(windows_path "$root/data")" run_wine "$exe" --no-pacing \
  --replay "$(windows_path "$replay")" --trace "$(windows_path "$out/$name.windows.trace")" \
  "${shots[@]}"
echo "windowed run: exit status 0 after $(echo "$(date +%s.%N) - $start" | bc) s"
same_trace "$name windowed" "$out/$name.linux.trace" "$out/$name.windows.trace" || failed=1
# A screenshot of a frame the replay never reaches: exit status 3, as on Linux.
status=0
run_wine "$exe" --no-pacing --replay "$(windows_path "$root/tests/replays/title_idle.replay")" \
  --screenshot "100000:$(windows_path "$out/never.png")" >"$out/never.log" 2>&1 || status=$?
echo "a screenshot never taken: status $status, $(tail -n 1 "$out/never.log")"
[ "$status" -eq 3 ] || failed=1

# Equal to Linux's but for the FPS readout, the machine's pace (the left panel's last line:
# the rectangle 0,117-159,135 of the 640 x 480 picture), painted over on both before comparing.
masked() { convert "$1" -fill black -draw 'rectangle 0,117 159,135' "$2"; }
for frame in "$@"; do
  shot="$out/$name-$frame.png"
  if file "$shot" | grep -q 'PNG image data, 640 x 480'; then
    masked "$shot" "$out/masked.windows.png"
    masked "$out/$name-$frame.linux.png" "$out/masked.linux.png"
    all="$(compare -metric AE "$shot" "$out/$name-$frame.linux.png" null: 2>&1 || true)"
    outside="$(compare -metric AE "$out/masked.windows.png" "$out/masked.linux.png" null: 2>&1 ||
      true)"
    echo "screenshot: $shot ($all pixels differ from Linux's, $outside outside the FPS readout)"
    [ "$outside" = 0 ] || failed=1
  else
    fail "no 640 x 480 screenshot of frame $frame"
  fi
done
exit "$failed"
