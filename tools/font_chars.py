#!/usr/bin/python3
"""Writes the characters the game can show, for subsetting the browser build's font:
printable ASCII and every other character that appears in the given source files (the
Japanese of the game's messages). One line of UTF-8, sorted, written only when it changes.

    font_chars.py OUT SOURCE...
"""

import sys


def main():
    if len(sys.argv) < 3:
        sys.stderr.write("usage: font_chars.py OUT SOURCE...\n")
        return 2
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            chars.update(c for c in f.read() if ord(c) > 0x7F and c.isprintable())
    text = "".join(sorted(chars)) + "\n"
    try:
        with open(sys.argv[1], encoding="utf-8") as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
