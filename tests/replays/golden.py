"""Runs a replay through the program and compares its trace with the committed one.

The committed trace, NAME.trace beside NAME.replay, holds the program's trace of the replay
without `fps` (the one field that depends on the machine's pace), one frame to a line. To stay
small each line is a JSON object of only the fields that changed since the frame before (the
ship's and boss's fields flattened to "ship.x" and so on; "ship": null where there is none);
`frame` is the line's number and `time` is left out where it counts on by one, so "{}" is a
frame in which nothing else changed.
"""
import json
import os
import subprocess
import tempfile


def flatten(frame):
    flat = {}
    for key, value in frame.items():
        if isinstance(value, dict):
            flat.update({f"{key}.{k}": v for k, v in value.items()})
        elif key not in ("frame", "fps"):
            flat[key] = value
    return flat


def play(program, data_dir, replay):
    """The replay's frames as written (parsed); raises RuntimeError if the program fails."""
    with tempfile.TemporaryDirectory() as work:
        trace = os.path.join(work, "trace.jsonl")
        run = subprocess.run(
            [os.path.abspath(program), "--headless", "--no-pacing", "--replay", os.path.abspath(replay),
             "--trace", trace], cwd=data_dir, capture_output=True, text=True, timeout=600)
        if run.returncode != 0:
            raise RuntimeError(f"{run.stderr}the program exited with status {run.returncode}")
        with open(trace, encoding="utf-8") as lines:
            return [json.loads(line) for line in lines]


def encode(frames):
    """The lines of a committed trace for the frames."""
    lines, before = [], {}
    for frame in frames:
        now = flatten(frame)
        changed = {k: v for k, v in now.items() if k not in before or before[k] != v}
        if "time" in changed and isinstance(before.get("time"), int) and \
                changed["time"] == before["time"] + 1:
            del changed["time"]
        lines.append(json.dumps(changed, ensure_ascii=False, separators=(",", ":")))
        before = now
    return lines


def decode(lines):
    """The flattened frames of a committed trace."""
    frames, now = [], {}
    for line in lines:
        now = dict(now)
        if isinstance(now.get("time"), int):
            now["time"] += 1
        for key, value in json.loads(line).items():
            group = key.split(".")[0]
            if "." in key:
                now.pop(group, None)  # a ship or boss again
            elif value is None:
                now = {k: v for k, v in now.items() if not k.startswith(key + ".")}
            now[key] = value
        frames.append(now)
    return frames


def committed_path(replay):
    return os.path.splitext(replay)[0] + ".trace"


def read_committed(replay):
    path = committed_path(replay)
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as lines:
        return [line.rstrip("\n") for line in lines]


def differences(expected, actual):
    """None when two committed traces' lines agree; else a description naming the first
    differing frame and its changed fields."""
    if expected == actual:
        return None
    index = next((i for i, (a, b) in enumerate(zip(expected, actual)) if a != b),
                 min(len(expected), len(actual)))
    note = f"{len(actual)} frames where {len(expected)} were" if len(expected) != len(
        actual) else f"{len(expected)} frames"
    if index >= len(expected) or index >= len(actual):
        return f"{note}; they agree up to frame {index}"
    was, now = decode(expected[:index + 1])[-1], decode(actual[:index + 1])[-1]
    changed = ", ".join(f"{key} {was.get(key)!r} -> {now.get(key)!r}"
                        for key in sorted(set(was) | set(now)) if was.get(key) != now.get(key))
    return f"{note}; first difference at frame {index}: {changed}"
