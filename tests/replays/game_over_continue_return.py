from tracelib import messages, require, sounds

FRESH_SHIP = {"x": 50.0, "y": 90.0, "hp": 100, "hpMax": 100, "shotInterval": 8, "finished": False}


def destroyed(frame):
    return frame["ship"] is not None and frame["ship"]["finished"]


def check(trace):
    start = trace[0]
    assert start["scene"] == 0 and start["stage"] == 1 and start["time"] == 0, start
    assert start["ship"] == FRESH_SHIP, start["ship"]

    # First life: kills score, then the ship is destroyed; its own point comes last.
    down = require(trace, destroyed, "the ship is destroyed")
    assert trace[down]["ship"]["hp"] < 1, trace[down]
    assert trace[down - 1]["kills"] > 0 and trace[down - 1]["score"] > 0, trace[down - 1]
    assert trace[down]["score"] == trace[down - 1]["score"] + 1, "the ship's own point"
    shots = sounds(trace, 0)
    assert shots and shots[-1] < down, "the shot sounds only while the ship flies and fires"
    assert [f for f in sounds(trace, 1) if f <= down], "destroyed enemies sound"

    # "Game Over": the stage runs on under the overlay until C.
    cont = require(trace, lambda f: f["request"] == "c", "C is taken on Game Over", down)
    assert trace[cont]["time"] > trace[down]["time"], "the clock runs on under the overlay"
    assert all(destroyed(f) for f in trace[down:cont + 1])
    kept = trace[cont]["score"]
    assert kept >= trace[down]["score"], "points may still come from combo bonuses"

    # C: the same stage again from its start, score kept.
    again = trace[cont + 1]
    assert again["scene"] == 0 and again["stage"] == 1, again
    assert again["time"] == 0 and again["ship"] == FRESH_SHIP, again
    assert again["score"] == kept, f"score {again['score']} after C, {kept} before"
    assert again["boss"]["inPlay"] is False and again["enemies"] == 0 and again["items"] == 0

    # Second life: destroyed again without firing, then V.
    down2 = require(trace, destroyed, "the ship is destroyed again", cont + 1)
    assert trace[down2]["score"] == trace[down2 - 1]["score"] + 1, "the ship's own point"
    back = require(trace, lambda f: f["request"] == "v", "V is taken on Game Over", down2)
    title = trace[back + 1]
    assert title["scene"] == 1 and title["score"] == 0 and title["stage"] == 1, title
    assert title["time"] is None and title["ship"] is None and title["boss"] is None, title

    # Z on the title: stage 1 afresh with score 0.
    fresh = require(trace, lambda f: f["scene"] == 0, "Z starts stage 1 again", back + 1)
    assert trace[fresh]["time"] == 0 and trace[fresh]["score"] == 0, trace[fresh]
    assert trace[fresh]["ship"] == FRESH_SHIP
    assert all(f["scene"] == 0 for f in trace[fresh:])

    assert messages(trace) == [], messages(trace)
