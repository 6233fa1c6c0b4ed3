#!/usr/bin/python3
"""A committed replay played in the page gives the desktop's trace.

usage: replay_test.py PROGRAM DATA_DIR BUILD_WEB_DIR NAME.replay

Runs the desktop program headless and unpaced on the replay, then the page with
?replay=...&trace=1, and compares the two traces line for line, the fps field aside. Prints
the browser's replay rate.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webpage  # noqa: E402


def desktop_trace(program, data_dir, replay):
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "trace.jsonl")
        subprocess.run([os.path.abspath(program), "--headless", "--no-pacing", "--replay",
                        os.path.abspath(replay), "--trace", path],
                       cwd=data_dir, check=True, timeout=600)
        with open(path, encoding="utf-8") as lines:
            return [line.rstrip("\n") for line in lines]


def main():
    program, data_dir, build, replay = sys.argv[1:5]
    name = os.path.splitext(os.path.basename(replay))[0]
    expected = desktop_trace(program, data_dir, replay)
    got, seconds = webpage.browser_replay(build, os.path.abspath(replay))
    print("%s: %d frames in the browser in %.1f s (%.0f frames/s)" %
          (name, len(got), seconds, len(got) / max(seconds, 1e-3)))
    for index, (want, have) in enumerate(zip(expected, got)):
        if webpage.without_fps(want) != webpage.without_fps(have):
            print("%s: frame %d differs\n  desktop: %s\n  browser: %s" % (name, index, want, have))
            return 1
    if len(expected) != len(got):
        print("%s: %d frames on the desktop, %d in the browser" % (name, len(expected), len(got)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
