def check(trace):
    assert len(trace) == 150, f"{len(trace)} frames instead of 150"
    for frame in trace:
        assert frame["scene"] == 1, f"frame {frame['frame']} left the title"
        assert frame["time"] is None and frame["ship"] is None and frame["boss"] is None
        assert frame["score"] == 0 and frame["stage"] == 1
        assert frame["messages"] == [] and frame["sounds"] == []
    assert trace[0]["fps"] == 10, "the first frame counts 100 ms"
