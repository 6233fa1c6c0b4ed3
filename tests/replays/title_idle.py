def check(trace):
    # The field the committed trace leaves out: the first frame counts the 100 ms it waited.
    assert trace[0]["fps"] == 10, f"fps {trace[0]['fps']} in the first frame instead of 10"
