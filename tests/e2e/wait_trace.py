#!/usr/bin/env python3
"""Waits until a frame of a running game's trace satisfies a condition.

usage: wait_trace.py TRACE.jsonl SECONDS PID CONDITION [SKIP]

CONDITION is a Python expression over `f`, the frame's JSON object, e.g.
'f["scene"] == 0 and f["ship"]["x"] <= 30'; where it reaches into a null (no stage, no ship)
it is false. The first SKIP lines (0) do not count. Prints the first frame that satisfies it
and exits 0; exits 1 when SECONDS pass or the process PID ends first, printing the last frame
seen.
"""
import json
import os
import sys
import time


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat", encoding="ascii") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def holds(test, frame):
    try:
        return bool(eval(test, {}, {"f": frame}))
    except (TypeError, KeyError):
        return False


def main(path, seconds, pid, condition, skip="0"):
    test = compile(condition, "<condition>", "eval")
    deadline = time.monotonic() + float(seconds)
    last, pending, offset, skip = None, "", 0, int(skip)
    while True:
        if os.path.exists(path):
            with open(path, encoding="utf-8") as trace:
                trace.seek(offset)
                pending += trace.read()
                offset = trace.tell()
            *lines, pending = pending.split("\n")
            for line in lines:
                last = json.loads(line)
                skip -= 1
                if skip < 0 and holds(test, last):
                    print(f"frame {last['frame']}: {condition}")
                    return 0
        if time.monotonic() > deadline or not alive(pid):
            break
        time.sleep(0.02)
    why = "timed out" if alive(pid) else "the game ended"
    print(f"{why} waiting for {condition}; last frame: {json.dumps(last)}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:6]))
