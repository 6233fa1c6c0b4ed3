#!/usr/bin/env python3
"""Writes the committed trace of every replay (or of those named) anew from the program, and
prints what changed: for each replay whose trace changed, how many frames and the first one.

usage: regenerate.py PROGRAM DATA_DIR [NAME.replay...]

Run it only when a change of the game's outcome is intended, and commit the traces with it.
"""
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import golden  # noqa: E402


def main():
    program, data_dir = sys.argv[1:3]
    replays = sys.argv[3:] or sorted(glob.glob(os.path.join(os.path.dirname(
        os.path.abspath(__file__)), "*.replay")))
    for replay in replays:
        name = os.path.basename(replay)
        trace = golden.encode(golden.play(program, data_dir, replay))
        change = golden.differences(golden.read_committed(replay), trace)
        with open(golden.committed_path(replay), "w", encoding="utf-8") as out:
            out.write("".join(line + "\n" for line in trace))
        print(f"{name}: {change or 'unchanged'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
