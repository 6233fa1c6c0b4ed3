#!/usr/bin/env python3
"""Pixel probes of the screenshots that stage_screenshots.sh takes of the replays.

usage: probe_screenshots.py DIR
       probe_screenshots.py --frames REPLAY   (prints the frames to take of that replay)

DIR holds REPLAY.jsonl (the trace of each run) and REPLAY-FRAME.png (640 x 480 screenshots).
Each picture is checked against what its trace frame says: the texts, panels and gauges stand
where the game puts them, with the lengths of the hit points of that frame.
"""
import json
import os
import subprocess
import sys

# Which frames are taken, and what each must show (the committed traces, which replay.NAME
# holds the program to, show each frame to be of its kind).
SHOTS = [
    ("boss_stage_clear", 600, "field"),
    ("boss_stage_clear", 5150, "boss"),
    ("boss_stage_clear", 5201, "boss"),  # its first step down
    ("boss_stage_clear", 5260, "stage clear"),
    ("boss_stage_clear", 5400, "title"),
    ("game_over_continue_return", 2000, "game over"),
]

WIDTH, HEIGHT = 640, 480
WHITE = (255, 255, 255)
PANEL_GREY = (50, 50, 50)
TITLE_BLUE = (0, 0, 64)
OVERLAY_BLUE = (0, 0, 255)
SHIP_GAUGE = (100, 100, 255)
BOSS_GAUGE = (255, 150, 150)
# The plane's (0, 0) on screen and pixels per plane unit: the 100-unit field is 320 pixels
# wide, centred in the 480 x 480 field viewport right of the 160-pixel panel.
FIELD_X, FIELD_Y, SCALE = 240, 80, 3.2
# The boss's hit boxes (x from, x to) around its position, each 10 units high about its y.
BOSS_HIT_COLUMNS = [(-25, -15), (-5, 5), (15, 25)]


def whitish(rgb):
    return min(rgb) >= 160


def lit(rgb):
    return max(rgb) >= 60


def weak_point(rgb):
    """The glowing amber that the boss wears on its hit boxes and nowhere else."""
    return rgb[0] == 255 and 120 <= rgb[1] <= 200 and rgb[2] <= 20


def exactly(colour):
    return lambda rgb: rgb == colour


def reddish(rgb):
    return rgb[0] >= 150 and max(rgb[1:]) < 100


# The texts of the result overlays: (what, x, y, match, width, height, margin) as expect_text
# takes them. "Stage Clear!!" by its first word only: the ship may stand further right.
OVERLAYS = {
    "game over": [('"Game Over"', 330, 200, whitish, 200, 40, 8),
                  ('"(Continue ... C Key)"', 320, 250, exactly(OVERLAY_BLUE), 240, 16, 8),
                  # looked for from its own top: the line above reaches down to it
                  ('"(Return Start ... V Key)"', 320, 270, exactly(OVERLAY_BLUE), 240, 16, 0)],
    "stage clear": [('"Stage Clear!!"', 330, 200, whitish, 70, 40, 8),
                    ('"(Next Stage ... C Key)"', 320, 250, exactly(OVERLAY_BLUE), 240, 16, 8)],
}


class Picture:
    def __init__(self, path):
        ppm = subprocess.check_output(["convert", path, "-depth", "8", "ppm:-"])
        _, width, height = ppm.split(maxsplit=3)[:3]  # "P6 WIDTH HEIGHT 255\n", the pixels
        self.width, self.height, self.name = int(width), int(height), os.path.basename(path)
        self.rgb = ppm[len(ppm) - self.width * self.height * 3:]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def ink(self, left, top, right, bottom, match):
        """Bounding box (x0, y0, x1, y1) of the pixels that match in the region, or None."""
        hits = [(x, y) for y in range(top, bottom) for x in range(left, right)
                if match(self.at(x, y))]
        if not hits:
            return None
        xs, ys = [x for x, _ in hits], [y for _, y in hits]
        return [min(xs), min(ys), max(xs), max(ys)]

    def share(self, points, match):
        """The share of the points whose pixel matches (1 for no points)."""
        return sum(match(self.at(x, y)) for x, y in points) / len(points) if points else 1.0


def expect_text(pic, what, x, y, match, width=160, height=40, margin=8):
    """Ink of a text drawn with its top-left corner at (x, y) starts just right of and below
    that point (looked for from `margin` pixels before it)."""
    box = pic.ink(max(0, x - margin), max(0, y - margin), min(WIDTH, x + width),
                  min(HEIGHT, y + height), match)
    assert box, f"{pic.name}: no ink of {what} near ({x}, {y})"
    assert x <= box[0] <= x + 5 and y <= box[1] <= y + 10, f"{pic.name}: {what} ink at {box}"


def expect_panel(pic):
    # The grey left quarter: plain grey but for six debug lines from (20, 45), 15 apart.
    box = pic.ink(0, 0, 160, HEIGHT, lambda rgb: rgb != PANEL_GREY)
    assert not box or (box[0] >= 18 and 43 <= box[1] and box[3] < 137), f"{pic.name}: panel {box}"
    for line in range(6):
        expect_text(pic, f"debug line {line + 1}", 20, 45 + 15 * line, whitish, 138, 15, 0)
    # The field's viewport, cleared black, begins right of it; nothing is drawn this far left.
    assert pic.ink(160, 0, 200, HEIGHT, lit) is None, f"{pic.name}: the field's left margin"
    expect_text(pic, '"Stage 1"', 200, 15, whitish)
    expect_text(pic, "the combo count", 400, 15, reddish, 40)
    expect_text(pic, "the score", 500, 15, whitish, 130)


def expect_gauge(pic, what, x, value, maximum, colour):
    """A 10-pixel column from y 380 upward: `value` pixels of its colour over `maximum` white."""
    column = lambda top, bottom: [(x, y) for y in range(top, bottom)]
    assert pic.share(column(380 - value + 1, 379), exactly(colour)) >= 0.9, f"{pic.name}: {what} ({value})"
    assert pic.share(column(380 - maximum + 1, 380 - value - 1), exactly(WHITE)) >= 0.9, \
        f"{pic.name}: {what} max"
    above = pic.at(x, 380 - maximum - 3)
    assert not (whitish(above) or above == colour), f"{pic.name}: {what} reaches above {maximum}"
    assert pic.at(x - 7, 370) != colour and pic.at(x + 7, 370) != colour, f"{what} too wide"


def on_screen(x, y):
    return round(FIELD_X + SCALE * x), round(FIELD_Y + SCALE * y)


def expect_frame_lines(pic):
    left, top = on_screen(0, 0)
    right, bottom = on_screen(100, 100)
    across, down = range(left + 5, right - 5), range(top + 5, bottom - 5)
    for name, points in [("top", [(x, top - 1) for x in across]),
                         ("bottom", [(x, bottom - 1) for x in across]),
                         ("left", [(left - 1, y) for y in down]),
                         ("right", [(right - 1, y) for y in down])]:
        assert pic.share(points, lit) >= 0.95, f"{pic.name}: the {name} frame line"


def expect_mover(pic, what, x, y, shown=True):
    cx, cy = on_screen(x, y)
    box = pic.ink(cx - 4, cy - 4, cx + 5, cy + 5, lit)
    assert (box is not None) == shown, f"{pic.name}: {what} at ({x}, {y}) -> {box}"


def expect_weak_points(pic, x, y):
    """Each hit box of the boss shows its amber exactly over the box, and nothing amber lies
    beside the boxes in their rows."""
    top, bottom = on_screen(x, y - 5)[1], on_screen(x, y + 5)[1]
    for low, high in BOSS_HIT_COLUMNS:
        left, right = on_screen(x + low, y)[0], on_screen(x + high, y)[0]
        box = pic.ink(left - 6, top - 6, right + 6, bottom + 6, weak_point)
        assert box and all(abs(a - b) <= 1 for a, b in zip(box, [left, top, right - 1, bottom - 1])), \
            f"{pic.name}: the boss's weak point at x {low}..{high} drawn at {box}, " \
            f"its hit box at {[left, top, right - 1, bottom - 1]}"
        inner = [(px, py) for py in range(top + 5, bottom - 5) for px in range(left + 5, right - 5)]
        assert pic.share(inner, weak_point) >= 0.7, f"{pic.name}: the weak point at x {low}..{high}"
    edges = [on_screen(x + edge, y)[0] for pair in BOSS_HIT_COLUMNS for edge in pair]
    for gap_left, gap_right in zip([edges[0] - 20] + edges[1::2], edges[0::2] + [edges[-1] + 20]):
        assert pic.ink(gap_left + 2, top, gap_right - 2, bottom, weak_point) is None, \
            f"{pic.name}: amber between x {gap_left} and {gap_right}, outside the hit boxes"


def expect_play(pic, frame):
    expect_panel(pic)
    expect_frame_lines(pic)
    ship, boss = frame["ship"], frame["boss"]
    expect_gauge(pic, "the ship's gauge", 440, max(0, ship["hp"]), ship["hpMax"], SHIP_GAUGE)
    expect_mover(pic, "the ship", ship["x"], ship["y"], not ship["finished"])
    if boss["inPlay"] and not boss["finished"]:
        expect_gauge(pic, "the boss's gauge", 460, boss["hp"], 100, BOSS_GAUGE)
        expect_mover(pic, "the boss", boss["x"], boss["y"])
        expect_weak_points(pic, boss["x"], boss["y"])
    else:
        assert pic.ink(455, 270, 466, 380, exactly(BOSS_GAUGE)) is None, "a boss gauge"


def check_shot(pic, frame, kind):
    assert (pic.width, pic.height) == (WIDTH, HEIGHT), (pic.width, pic.height)
    if kind == "title":
        expect_text(pic, '"Press Z key"', 250, 150, whitish, 200, 40)
        box = pic.ink(0, 0, WIDTH, HEIGHT, lambda c: c != TITLE_BLUE)
        assert box and box[0] >= 250 and box[2] < 450 and box[3] < 190, f"title ink {box}"
        return
    expect_play(pic, frame)
    for text in OVERLAYS.get(kind, []):
        expect_text(pic, *text)
    if kind not in OVERLAYS:
        assert pic.ink(300, 190, 560, 300, exactly(OVERLAY_BLUE)) is None, "an overlay in play"


def main():
    if sys.argv[1] == "--frames":
        print(" ".join(str(number) for replay, number, _ in SHOTS if replay == sys.argv[2]))
        return 0
    traces, failures = {}, 0
    for replay, number, kind in SHOTS:
        if replay not in traces:
            with open(os.path.join(sys.argv[1], replay + ".jsonl"), encoding="utf-8") as lines:
                traces[replay] = [json.loads(line) for line in lines]
        frame = traces[replay][number]
        assert frame["frame"] == number
        try:
            check_shot(Picture(os.path.join(sys.argv[1], f"{replay}-{number}.png")), frame, kind)
            print(f"{replay} frame {number} ({kind}): ok")
        except AssertionError as failure:
            print(f"{replay} frame {number} ({kind}): {failure}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
