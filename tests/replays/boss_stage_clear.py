from tracelib import messages, require


def check(trace):
    play = [f for f in trace if f["scene"] == 0]
    assert all(not f["ship"]["finished"] for f in play), "the ship survives the whole stage"
    assert max(f["ship"]["hpMax"] for f in play) == 140, "all four maximum-hit-point items"

    # The boss waits in its list and enters play in the update whose clock read 5000.
    enter = require(trace, lambda f: f["boss"] and f["boss"]["inPlay"], "the boss enters play")
    assert trace[enter]["time"] == 5001 and trace[enter - 1]["boss"]["age"] == 0, trace[enter]
    assert all(f["boss"]["x"] == 50.0 and f["boss"]["y"] == 10.0 for f in trace[:enter])

    # Its phases: waiting, then descending at age 200, then the dance once below half.
    phases = []
    for boss in (f["boss"] for f in trace[enter:] if f["boss"] and not f["boss"]["finished"]):
        if not phases or phases[-1][0] != boss["phase"]:
            phases.append((boss["phase"], boss["age"], boss["hp"]))
    kinds = [p for p, _, _ in phases]
    assert kinds[:2] == [0, 1] and phases[1][1] == 200, phases
    assert kinds.index(3) == len(kinds) - 1 and phases[-1][2] < 50, phases

    # Its defeat: 100000 points and a kill; the sweep empties the field of bullets at once
    # and no enemy enters any more.
    down = require(trace, lambda f: f["boss"] and f["boss"]["finished"], "the boss falls", enter)
    assert trace[down]["boss"]["hp"] < 1
    assert trace[down]["score"] - trace[down - 1]["score"] >= 100000, trace[down]
    assert trace[down]["kills"] > trace[down - 1]["kills"]
    assert trace[down + 2]["bullets"] == 0, trace[down + 2]
    after = [f["enemies"] for f in trace[down:] if f["scene"] == 0]
    assert after == sorted(after, reverse=True) and after[-1] == 0, after

    # C on "Stage Clear!!" leads to stage 2, whose start fails: its message, then the title
    # with stage 1 and score 0.
    onward = require(trace, lambda f: f["request"] == "b", "C is taken on Stage Clear", down)
    assert trace[onward]["score"] >= trace[down]["score"]
    title = trace[onward + 1]
    assert title["scene"] == 1 and title["stage"] == 1 and title["score"] == 0, title
    assert messages(trace) == [
        (title["frame"], "Error! CStage::SetMoverBullet()", "モデルが登録されていない")]
    assert all(f["scene"] == 1 for f in trace[onward + 1:])
