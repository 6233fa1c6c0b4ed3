"""Small helpers for the checks of replay traces."""


def first(trace, predicate, start=0):
    """Index of the first frame from `start` on that satisfies predicate, or None."""
    for index in range(start, len(trace)):
        if predicate(trace[index]):
            return index
    return None


def require(trace, predicate, what, start=0):
    """Index of the first frame from `start` on that satisfies predicate; fails if none."""
    index = first(trace, predicate, start)
    assert index is not None, f"no frame from {start} on where {what}"
    return index


def messages(trace):
    """Every message box of the run as (frame, caption, text)."""
    return [(frame["frame"], caption, text)
            for frame in trace for caption, text in frame["messages"]]


def sounds(trace, slot):
    """Frames in which the sound slot played, once per play."""
    return [frame["frame"] for frame in trace for played in frame["sounds"] if played == slot]
