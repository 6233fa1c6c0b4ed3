#!/usr/bin/env python3
"""Plays one replay headless and unpaced through the program and compares its trace, frame by
frame, with the committed NAME.trace (tests/replays/regenerate.py writes those).

usage: run_replay.py PROGRAM DATA_DIR NAME.replay

Where NAME.py exists beside the replay, its check(trace) also runs on the parsed frames: it
holds what the committed trace cannot say (the fields left out of it).
"""
import importlib.util
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import golden  # noqa: E402


def main():
    program, data_dir, replay = sys.argv[1:4]
    name = os.path.splitext(os.path.basename(replay))[0]
    checks_path = os.path.splitext(replay)[0] + ".py"
    try:
        expected = golden.read_committed(replay)
        assert expected, f"no committed trace {golden.committed_path(replay)}"
        frames = golden.play(program, data_dir, replay)
        problem = golden.differences(expected, golden.encode(frames))
        assert not problem, f"the trace differs from the committed one: {problem}"
        if os.path.exists(checks_path):
            module_spec = importlib.util.spec_from_file_location(name, checks_path)
            checks = importlib.util.module_from_spec(module_spec)
            module_spec.loader.exec_module(checks)
            checks.check(frames)
    except (AssertionError, RuntimeError) as failure:
        print(f"{name}: {failure}")
        return 1
    print(f"{name}: {len(frames)} frames as committed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
