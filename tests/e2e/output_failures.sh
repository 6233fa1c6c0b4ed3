#!/usr/bin/env bash
# What the real program does with outputs it cannot write, files named for two roles,
# replays it must not read whole, and window sizes at the ends of int (SDL's offscreen video
# driver; no X server needed):
#   - a trace, recording or screenshot on /dev/full or a full tmpfs (mounted here when
#     allowed), a screenshot that cannot be created: one line on stderr naming the file (and
#     the reason), the run goes on, exit status 3 (a frame that never comes is ReplayFlowTest's);
#   - an output naming the replay or another output: usage error, status 2, nothing written;
#   - /dev/zero or a 1 GiB sparse file as the replay: refused at once with the line, in a
#     few MiB; a long valid replay checked and played in a few MiB (an empty file name is
#     LaunchOptionsTest's);
#   - -w/-h/-ww/-wh of -2147483648 or 2147483647, windowed and headless: no undefined
#     behaviour (the sanitizer build stops on it), the no-device status 1.
# Usage: output_failures.sh <game binary>   (run from data/)
WORK_NAME=outputs
source "$(dirname "$0")/offscreen_lib.sh"
MOUNTED=""
trap '[ -n "$MOUNTED" ] && umount "$MOUNTED"; rm -rf "$WORK"' EXIT

{
  echo "vorlith-replay 1"
  echo "60 -"
  echo "1 Z"
  for _ in $(seq 40); do echo "20 LZ"; echo "20 RZ"; done
} >"$WORK/play.replay"
cp "$WORK/play.replay" "$WORK/play.copy"
headless=(--headless --no-pacing --replay "$WORK/play.replay")

# Writes that fail.
full='No space left on device'
run 3 "^vorlith: /dev/full: cannot write the trace: $full$" "${headless[@]}" --trace /dev/full
run 3 "^vorlith: /dev/full: cannot write the replay: $full$" "${headless[@]}" --record /dev/full
run 3 "^vorlith: /dev/full: cannot write the screenshot: $full$" \
  --no-pacing --replay "$WORK/play.replay" --screenshot 70:/dev/full
run 3 "^vorlith: $WORK/no/shot.png: cannot write the screenshot: No such file" \
  --no-pacing --replay "$WORK/play.replay" --screenshot 70:"$WORK/no/shot.png"
run 0 "" --no-pacing --replay "$WORK/play.replay" --screenshot 70:"$WORK/shot.png" \
  --trace "$WORK/t.jsonl" --record "$WORK/r.replay"
[ "$(head -c 4 "$WORK/shot.png" | od -An -c | tr -d ' ')" = "211PNG" ] || fail "shot.png is no PNG"

if mkdir -p "$WORK/tiny" && mount -t tmpfs -o size=16k tmpfs "$WORK/tiny" 2>/dev/null; then
  MOUNTED="$WORK/tiny"
  run 3 "^vorlith: $WORK/tiny/t.jsonl: cannot write the trace: $full$" \
    "${headless[@]}" --trace "$WORK/tiny/t.jsonl"
  run 3 "^vorlith: $WORK/tiny/s.png: cannot write the screenshot: $full$" --no-pacing \
    --replay "$WORK/play.replay" --screenshot 70:"$WORK/tiny/s.png" --trace "$WORK/tiny/t2.jsonl"
  umount "$MOUNTED" && MOUNTED=""
else
  echo "skip the full tmpfs: cannot mount one here"
fi

# One file for two roles (the links and spellings that name one file are ReliabilityTest's).
mkdir "$WORK/sub"
run 2 "names the same file as --replay" "${headless[@]}" --trace "$WORK/play.replay"
run 2 "^vorlith: --trace $WORK/x names the same file as --record $WORK/sub/../x" \
  "${headless[@]}" --record "$WORK/sub/../x" --trace "$WORK/x"
cmp -s "$WORK/play.replay" "$WORK/play.copy" || fail "the replay was overwritten"
[ -e "$WORK/x" ] && fail "an output was created despite the usage error"

# Replays that must not be read whole.
base=$(/usr/bin/time -f "%M" "$GAME" --version 2>&1 >/dev/null | tail -1)
truncate -s 1G "$WORK/sparse.replay"
for replay in /dev/zero "$WORK/sparse.replay"; do
  start=$SECONDS
  run 2 "^vorlith: $replay:1: longer than 4096 bytes" --headless --replay "$replay"
  peak=$(tail -1 "$WORK/peak")
  echo "     $replay: $((SECONDS - start)) s, peak $peak KiB (--version: $base KiB)"
  [ "$peak" -le $((base + 8192)) ] || fail "$replay took $peak KiB"
  [ $((SECONDS - start)) -le 10 ] || fail "$replay took $((SECONDS - start)) s"
done
# A long valid replay is checked and then played as a stream: its length (4M changes of
# controls in 16 MiB, which would be 100 MiB held as runs) must not show in memory, neither
# when refused at its last line nor while it plays (stopped at frame 100), against the
# whole of a short replay.
python3 -c 'import sys; sys.stdout.write("vorlith-replay 1\n" + "1 Z\n1 -\n" * (1 << 21))' \
  >"$WORK/long.replay"
cp "$WORK/long.replay" "$WORK/spoilt.replay" && echo "1 Q" >>"$WORK/spoilt.replay"
run 0 "" --headless --no-pacing --replay "$WORK/play.replay" --trace "$WORK/short.jsonl"
short=$(tail -1 "$WORK/peak")
run 2 "^vorlith: $WORK/spoilt.replay:4194306: unknown control 'Q'" --headless \
  --replay "$WORK/spoilt.replay"
peak=$(tail -1 "$WORK/peak")
[ "$peak" -le $((base + 8192)) ] || fail "the spoilt long replay took $peak KiB"
"$GAME" --headless --no-pacing --replay "$WORK/long.replay" --trace "$WORK/long.jsonl" \
  >"$WORK/log" 2>&1 &
pid=$!
python3 "$(dirname "$0")/wait_trace.py" "$WORK/long.jsonl" 120 $pid 'f["frame"] >= 100' >/dev/null ||
  fail "the long replay did not reach frame 100"
playing=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
kill $pid
wait $pid
echo "     long replay: peak $peak KiB refused, ${playing:-?} KiB playing (short replay: $short KiB)"
[ "${playing:-0}" -le $((short + 8192)) ] || fail "the long replay took ${playing:-?} KiB playing"
rm -f "$WORK/long.replay" "$WORK/spoilt.replay"

# Sizes at the ends of int.
for size in -2147483648 2147483647; do
  for option in -w -h -ww -wh; do  # no device takes either size
    run 1 "" --no-pacing --replay "$WORK/play.replay" "$option" "$size"
    run 1 "" "${headless[@]}" "$option" "$size"
  done
done

finish
