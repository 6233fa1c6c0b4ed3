#!/usr/bin/env python3
"""Plays one replay headless and unpaced through the real program and checks its trace.

usage: run_replay.py PROGRAM DATA_DIR NAME.replay

The checks live beside the replay in NAME.py, as a function check(trace) that asserts
what the run must show; `trace` is the list of per-frame objects the program wrote. The
helpers in tracelib.py find frames and describe them in failure messages.
"""
import importlib.util
import json
import os
import subprocess
import sys
import tempfile


def main():
    program, data_dir, replay = sys.argv[1:4]
    name = os.path.splitext(os.path.basename(replay))[0]
    checks_path = os.path.splitext(replay)[0] + ".py"
    with tempfile.TemporaryDirectory() as work:
        trace_path = os.path.join(work, "trace.jsonl")
        run = subprocess.run(
            [program, "--headless", "--no-pacing", "--replay", os.path.abspath(replay),
             "--trace", trace_path],
            cwd=data_dir, capture_output=True, text=True, timeout=600)
        if run.returncode != 0:
            print(run.stderr)
            print(f"{name}: the program exited with status {run.returncode}")
            return 1
        with open(trace_path, encoding="utf-8") as lines:
            trace = [json.loads(line) for line in lines]
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    module_spec = importlib.util.spec_from_file_location(name, checks_path)
    checks = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(checks)
    try:
        checks.check(trace)
    except AssertionError as failure:
        print(f"{name}: {failure}")
        return 1
    print(f"{name}: {len(trace)} frames checked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
