#!/usr/bin/env python3
"""Puts each fault of a list into the source alone, builds, runs tests and restores the file;
prints which test caught each fault, or that none did.

usage: run_faults.py BUILD_DIR [FAULTS.tsv] [FIRST [LAST]]   (FAULTS.tsv: round1.tsv beside it)

A fault is a line FILE<TAB>ORIGINAL<TAB>FAULTY[<TAB>TESTS]: the original line (without its
indentation, standing alone on one line of FILE) is replaced by the faulty one. TESTS, a
pattern matched from the start of CTest names, is tried first with only its program rebuilt
(the game for replay.*, wavinfo for sound.*, else the unit tests); when it passes, or is not
given, the whole fast set runs (all but the end-to-end, browser and package tests, and the
source checks that a faulty line's layout would trip) with the game, the unit tests and
wavinfo rebuilt.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ALL = ["vorlith", "vorlith_tests", "wavinfo"]


def run(command):
    return subprocess.run(command, cwd=ROOT, capture_output=True, text=True, timeout=3600)


def ctest(build, targets, *selection):
    if run(["cmake", "--build", build, "-j2", "--target", *targets]).returncode != 0:
        return "does not build"
    tests = run(["ctest", "--test-dir", build, "-j2", "--timeout", "300", *selection])
    failed = re.findall(r"^\s*\d+ - (\S+) \(", tests.stdout, re.M)
    return "caught by " + ", ".join(failed) if tests.returncode else None


def try_fault(build, path, original, faulty, tests=""):
    with open(os.path.join(ROOT, path), encoding="utf-8") as source:
        text = source.read()
    lines = text.split("\n")
    where = [i for i, line in enumerate(lines) if line.strip() == original]
    if len(where) != 1:
        return f"not applied: the line stands {len(where)} times"
    line = lines[where[0]]
    lines[where[0]] = line[:len(line) - len(line.lstrip())] + faulty
    try:
        with open(os.path.join(ROOT, path), "w", encoding="utf-8") as source:
            source.write("\n".join(lines))
        if tests:
            program = {"replay.": "vorlith", "sound.": "wavinfo"}.get(
                tests[:tests.find(".") + 1], "vorlith_tests")
            caught = ctest(build, [program], "-R", f"^({tests})")
            if caught:
                return caught
        return ctest(build, ALL, "-LE", "e2e|web|package", "-E", "^(format|layering)$",
                     "--stop-on-failure") or "NOT CAUGHT"
    finally:
        with open(os.path.join(ROOT, path), "w", encoding="utf-8") as source:
            source.write(text)


def main():
    build = os.path.abspath(sys.argv[1])
    listing = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "round1.tsv")
    with open(listing, encoding="utf-8") as rows:
        faults = [line.rstrip("\n").split("\t") for line in rows if not line.startswith("#")]
    first = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    last = int(sys.argv[4]) if len(sys.argv) > 4 else len(faults)
    for number in range(first, last + 1):
        path, original, faulty = faults[number - 1][:3]
        outcome = try_fault(build, *faults[number - 1])
        print(f"{number:2} | {path} | {original} -> {faulty} | {outcome}", flush=True)
    run(["cmake", "--build", build, "-j2", "--target", *ALL])
    return 0


if __name__ == "__main__":
    sys.exit(main())
