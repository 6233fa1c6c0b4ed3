from tracelib import messages, sounds


def changes(trace, key):
    """Frames in which the ship's `key` changed, with the ship before and after."""
    found = []
    for before, after in zip(trace, trace[1:]):
        if before["ship"] and after["ship"] and before["ship"][key] != after["ship"][key]:
            found.append((after["frame"], before["ship"], after["ship"]))
    return found


def check(trace):
    assert all(f["scene"] == 0 and not f["ship"]["finished"] for f in trace)

    # Two shoot-ability items on the right column: the interval falls by one each.
    faster = changes(trace, "shotInterval")
    assert [(b["shotInterval"], a["shotInterval"]) for _, b, a in faster] == [(8, 7), (7, 6)], faster
    assert all(a["x"] == 80.0 and a["y"] == 90.0 for _, _, a in faster), faster
    assert all(100 <= frame <= 300 for frame, _, _ in faster), faster

    # Two maximum-hit-point items on the left column: +10 to the maximum, 10 healed.
    stronger = changes(trace, "hpMax")
    assert [(b["hpMax"], a["hpMax"]) for _, b, a in stronger] == [(100, 110), (110, 120)], stronger
    for frame, before, after in stronger:
        assert after["x"] == 10.0, (frame, after)
        assert after["hp"] == min(before["hp"] + 10, after["hpMax"]), (frame, before, after)
    assert trace[-1]["ship"]["hpMax"] == 120

    # Fire held all along: the shot sounds every interval + 1 frames of the ship in force.
    shots = sounds(trace, 0)
    assert shots[0] == 1, "the first volley leaves in the first update of the stage"
    interval = {f["frame"]: f["ship"]["shotInterval"] for f in trace}
    gaps = []
    for a, b in zip(shots, shots[1:]):
        assert b - a in (interval[a] + 1, interval[b] + 1), (a, b, interval[a], interval[b])
        gaps.append(b - a)
    assert {9, 8, 7} <= set(gaps), sorted(set(gaps))
    assert gaps == sorted(gaps, reverse=True), "the firing only gets faster"

    assert messages(trace) == []
