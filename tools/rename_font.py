#!/usr/bin/python3
"""Gives a subset font a name of its own and writes it as WOFF2 for the browser build, with
the code points it holds as a JSON array beside it (the page's rasterizer draws only those).

The IPA Font License lets a modified (here: subset) font be passed on only under a name
without the original's ("IPA"), with the licence beside it.

    rename_font.py IN.ttf OUT.woff2 FAMILY OUT.json
"""

import json
import sys

from fontTools.ttLib import TTFont


def main():
    if len(sys.argv) != 5:
        sys.stderr.write("usage: rename_font.py IN.ttf OUT.woff2 FAMILY OUT.json\n")
        return 2
    source, target, family, code_points = sys.argv[1:]
    font = TTFont(source)
    names = font["name"]
    postscript = family.replace(" ", "") + "-Regular"
    wanted = {1: family, 3: postscript + "-subset", 4: family, 6: postscript, 16: family}
    for record in list(names.names):
        if record.nameID in wanted:
            record.string = wanted[record.nameID]
        elif "IPA" in record.toUnicode():
            names.removeNames(nameID=record.nameID)
    for record in names.names:
        if "IPA" in record.toUnicode():
            sys.stderr.write("rename_font.py: name %d still says IPA\n" % record.nameID)
            return 1
    with open(code_points, "w") as f:
        json.dump(sorted(font.getBestCmap()), f)
    font.flavor = "woff2"
    font.save(target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
