#!/usr/bin/env python3
"""Checks the trace and the recorded sound of play_with_keys.sh.

usage: check_play_with_keys.py TRACE.jsonl MIX.wav
"""
import array
import json
import struct
import sys


def read_mix(path):
    """Samples of a RIFF WAVE file (PCM 16-bit or 32-bit float) as floats, all channels
    interleaved, and its frame rate times channels."""
    with open(path, "rb") as wave:
        data = wave.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", "not a WAVE file"
    chunks, at = {}, 12
    while at + 8 <= len(data):
        size = struct.unpack("<I", data[at + 4:at + 8])[0]
        chunks[data[at:at + 4]] = data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    assert b"fmt " in chunks and b"data" in chunks, "no format or no data"
    tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", chunks[b"fmt "][:16])
    kind = "f" if bits == 32 and tag in (3, 0xFFFE) else "h" if bits == 16 else None
    assert kind, f"unexpected sample format: tag {tag}, {bits} bits"
    samples = chunks[b"data"]
    values = array.array(kind, samples[:len(samples) // (bits // 8) * (bits // 8)])
    return [v / 32768 for v in values] if kind == "h" else list(values), rate * channels


def check(trace_path, mix_path):
    with open(trace_path, encoding="utf-8") as lines:
        trace = [json.loads(line) for line in lines]
    play = [f for f in trace if f["scene"] == 0]
    assert play, "Z never started the stage"
    shots = [f["frame"] for f in trace for slot in f["sounds"] if slot == 0]
    blasts = [f["frame"] for f in trace for slot in f["sounds"] if slot == 1]
    assert len(shots) >= 10, f"{len(shots)} shots"
    assert blasts, "no enemy was destroyed"
    assert min(f["ship"]["x"] for f in play) <= 32, "the ship never reached the lane"
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
