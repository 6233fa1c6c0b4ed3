#!/usr/bin/python3
"""A committed replay played in the page gives its committed trace (tests/replays/NAME.trace,
which the desktop program's replay.NAME test holds it to as well).

usage: replay_test.py BUILD_WEB_DIR NAME.replay

Plays the page with ?replay=...&trace=1 and compares its trace with the committed one frame
for frame, the fps field aside; names the first frame that differs. Prints the browser's
replay rate.
"""
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "replays")]
import golden  # noqa: E402
import webpage  # noqa: E402


def main():
    build, replay = sys.argv[1:3]
    name = os.path.splitext(os.path.basename(replay))[0]
    got, seconds = webpage.browser_replay(build, os.path.abspath(replay))
    print("%s: %d frames in the browser in %.1f s (%.0f frames/s)" %
          (name, len(got), seconds, len(got) / max(seconds, 1e-3)))
    problem = golden.differences(golden.read_committed(replay),
                                 golden.encode([json.loads(line) for line in got]))
    if problem:
        print("%s: the browser's trace differs from the committed one: %s" % (name, problem))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
