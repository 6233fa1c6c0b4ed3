#!/usr/bin/env python3
"""Soak: a headless, unpaced run of random play with continues for 1,000,000 frames (or
--frames N). Prints the frame rate and the program's peak resident memory after 100k, 300k
and the last frame, and the growth between the first and the last mark. Checks nothing.

The replay is made up front (seeded, so every run plays the same game) and read whole at
start-up; the frames are counted on the trace, which the run writes into a pipe read here.
Usage: bench/soak.py [game binary] [--frames N] [--seed S]   (default: build-rel/vorlith)
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def write_replay(path, frames, seed):
    rng = random.Random(seed)
    moves = ["-", "U", "D", "L", "R", "UL", "UR", "DL", "DR"]
    lines = ["vorlith-replay 1", "1 Z"]
    done = 1
    while done < frames:
        if rng.random() < 0.02:
            run = ["2 -", "1 C", "2 -", "1 Z"]  # continue after Game Over; start from the title
            count = 6
        else:
            count = rng.randint(1, 40)
            held = rng.choice(moves).replace("-", "") + ("Z" if rng.random() < 0.8 else "")
            run = [f"{count} {held or '-'}"]
        lines += run
        done += count
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
    return done


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game", nargs="?", default=os.path.join(ROOT, "build-rel", "vorlith"))
    parser.add_argument("--frames", type=int, default=1_000_000)
    parser.add_argument("--seed", type=int, default=16)
    args = parser.parse_args()
    marks = sorted({m for m in (100_000, 300_000, args.frames) if m <= args.frames})

    with tempfile.TemporaryDirectory() as work:
        replay = os.path.join(work, "soak.replay")
        frames = write_replay(replay, args.frames, args.seed)
        game = subprocess.Popen(
            [os.path.abspath(args.game), "--headless", "--no-pacing", "--replay", replay,
             "--trace", "/dev/stdout"],
            cwd=os.path.join(ROOT, "data"), stdout=subprocess.PIPE, bufsize=1 << 20)
        start = time.monotonic()
        seen, results, games = 0, [], 0
        for line in game.stdout:
            seen += 1
            if b'"request":"c"' in line:
                games += 1
            if marks and seen == marks[0]:
                results.append((seen, peak_kib(game.pid), time.monotonic() - start))
                marks.pop(0)
        status = game.wait()
        elapsed = time.monotonic() - start

    print(f"frames: {seen} of {frames} in the replay, exit status {status}, "
          f"{games} frames asking to continue")
    print(f"rate: {seen / elapsed:.0f} frames/s ({elapsed:.1f} s, trace into a pipe)")
    for frame, kib, at in results:
        print(f"peak RSS after {frame:>9,} frames: {kib:>7} KiB  (at {at:.1f} s)")
    if len(results) >= 2:
        print(f"growth {results[0][0]:,} -> {results[-1][0]:,} frames: "
              f"{results[-1][1] - results[0][1]} KiB")
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
