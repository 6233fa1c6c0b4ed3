#!/usr/bin/env python3
"""The first shot's level in two mixes: the first must be 6 dB (+-0.5) below the second.

usage: check_settings.py HALF.wav FULL.wav
"""
import math
import sys

from check_play_with_keys import read_mix


def first_sound_rms(path):
    """RMS of the 0.1 s from the first sample heard, in dBFS."""
    values, per_second = read_mix(path)
    start = next(i for i, v in enumerate(values) if abs(v) > 0.001)
    part = values[start:start + per_second // 10]
    return 10 * math.log10(sum(v * v for v in part) / len(part))


half, full = first_sound_rms(sys.argv[1]), first_sound_rms(sys.argv[2])
print(f"first shot: {half:.2f} dBFS at volume 50, {full:.2f} dBFS at 100: {half - full:+.2f} dB")
sys.exit(0 if abs(half - full + 6.02) <= 0.5 else 1)
