"""The calls release the GIL while the library works, so that threads
fillet in parallel, and give each thread the same outline as one thread
alone."""

import sys
import threading
from concurrent.futures import ThreadPoolExecutor

import pytest

import rrensen
from shapes import random_cases, walk


def long_walk(count, seed=1):
    import random

    return walk(random.Random(seed), count, 1.0, turns=[0.3, -0.5, 1.0, -1.2, 0.05])


def runs_during(call, repeats=500):
    """True when another thread ran Python code while `call` was working.

    The switch interval is made so long that a thread holding the GIL
    keeps it until it waits for something. The worker runs `call` up to
    `repeats` times, until the main thread has run; the main thread waits
    until the worker has started, which it can see only once the worker
    lets the GIL go: inside `call`, if `call` releases it, else after the
    last one. However busy the machine, the main thread gets to run inside
    one of the calls that release the GIL: the test does not hang on its
    being scheduled within one call's time."""
    state = {"working": True, "seen": False}
    started = threading.Event()

    def work():
        started.set()
        for _ in range(repeats):
            call()
            if state["seen"]:
                break
        state["working"] = False

    interval = sys.getswitchinterval()
    sys.setswitchinterval(100)
    try:
        worker = threading.Thread(target=work)
        worker.start()
        started.wait()
        state["seen"] = state["working"]
        worker.join()
    finally:
        sys.setswitchinterval(interval)
    return state["seen"]


def test_the_test_sees_a_call_that_keeps_the_gil():
    big = list(range(3_000_000, 0, -1))
    assert not runs_during(lambda: sorted(big), repeats=2)


def test_fillet_releases_the_gil():
    points = long_walk(300_000)
    assert runs_during(lambda: rrensen.fillet(points, 1.0, closing="open"))


def test_largest_fillet_size_releases_the_gil():
    points = long_walk(5_000)
    assert runs_during(lambda: rrensen.largest_fillet_size(points, closing="open", limit=100))


def test_threads_get_the_outlines_one_thread_gets():
    cases = random_cases(seed=5, count=200) + [(long_walk(50_000, seed), 1.0, "open") for seed in range(4)]
    alone = [rrensen.fillet(points, size, closing=closing) for points, size, closing in cases]
    sizes = [rrensen.largest_fillet_size(points, closing=closing, limit=50) for points, _, closing in cases[:40]]
    with ThreadPoolExecutor(max_workers=4) as pool:
        together = list(pool.map(lambda case: rrensen.fillet(case[0], case[1], closing=case[2]), cases))
        sizes_together = list(pool.map(lambda case: rrensen.largest_fillet_size(case[0], closing=case[2], limit=50),
                                        cases[:40]))
    for a, b in zip(alone, together):
        assert a.result == b.result and list(a.segments) == list(b.segments)
    assert sizes == sizes_together


def test_threads_may_share_one_outline():
    outline = rrensen.fillet(long_walk(20_000), 1.0, closing="open")
    expected = list(outline.segments)
    with ThreadPoolExecutor(max_workers=4) as pool:
        seen = list(pool.map(lambda _: list(outline.segments), range(8)))
    assert all(s == expected for s in seen)


def test_numpy_input_releases_the_gil_too():
    np = pytest.importorskip("numpy")
    points = np.array(long_walk(300_000))
    assert runs_during(lambda: rrensen.fillet(points, 1.0, closing="open"))
