#!/usr/bin/env python3
"""Checks the trace and the recorded sound of play_with_keys.sh.

usage: check_play_with_keys.py TRACE.jsonl MIX.wav
"""
import array
import json
import subprocess
import sys


def read_mix(path):
    """Samples of a sound file (as sox reads it) as floats, all channels interleaved, and its
    frame rate times channels."""
    rate, channels = (int(subprocess.check_output(["soxi", flag, path])) for flag in ("-r", "-c"))
    raw = subprocess.check_output(["sox", path, "-t", "raw", "-e", "floating-point", "-b", "32",
                                   "-L", "-"])
    return list(array.array("f", raw)), rate * channels


def check(trace_path, mix_path):
    with open(trace_path, encoding="utf-8") as lines:
        trace = [json.loads(line) for line in lines]
    shots = [f["frame"] for f in trace for slot in f["sounds"] if slot == 0]
    blasts = [f["frame"] for f in trace for slot in f["sounds"] if slot == 1]
    assert len(shots) >= 10, f"{len(shots)} shots"
    assert blasts, "no enemy was destroyed"
    assert trace[-1]["score"] > 0 and trace[-1]["kills"] > 0, trace[-1]
    print(f"{len(trace)} frames, {len(shots)} shots, {len(blasts)} enemies destroyed, "
          f"score {trace[-1]['score']}")

    values, per_second = read_mix(mix_path)
    seconds = len(values) / per_second
    window = per_second // 100  # 10 ms
    loud = [max(abs(v) for v in values[i:i + window]) for i in range(0, len(values), window)]
    heard = sum(1 for level in loud if level > 0.01)
    peak = max(loud)
    print(f"mix: {seconds:.1f} s, peak {peak:.3f}, {heard} of {len(loud)} 10-ms windows heard")
    assert seconds >= 3, "the mix is shorter than the play"
    assert 0.02 < peak < 1.0, f"peak {peak}: nothing heard, or clipped"
    # Each shot sounds for about 0.12 s (every 9 frames while Z is held, however fast the
    # frames come): the mix must be heard for at least half of the shots' length.
    assert heard * 0.01 >= 0.5 * len(shots) * 0.12, \
        f"{heard * 0.01:.2f} s heard for {len(shots)} shots: the shots are not heard"


if __name__ == "__main__":
    try:
        check(sys.argv[1], sys.argv[2])
    except AssertionError as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
