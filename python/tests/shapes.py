"""Points to fillet: a right angle, a square, random polylines that mostly
draw, with each closing, and Hypothesis strategies for them; and the
checkout's folder. Shared by the tests."""

import math
import random
from pathlib import Path

from hypothesis import strategies as st

CLOSINGS = ("proximity", "open", "closed")
ROOT = Path(__file__).resolve().parents[2]
RIGHT_ANGLE = [(0, 0), (100, 0), (100, 100)]
SQUARE = [(0, 0), (100, 0), (100, 100), (0, 100)]


def walk(rng, count, size, turns=None):
    """A random walk of `count` points whose sides are long enough for
    `size` most of the time: turns anywhere from sharp to shallow (a few
    under 10 degrees, so that chord corners come up), both ways."""
    x, y = rng.uniform(-1000, 1000), rng.uniform(-1000, 1000)
    heading = rng.uniform(-math.pi, math.pi)
    points = [(x, y)]
    for _ in range(count - 1):
        length = rng.uniform(2.2, 8.0) * max(size, 0.5) * (0.3 if rng.random() < 0.06 else 1)
        x += length * math.cos(heading)
        y += length * math.sin(heading)
        points.append((x, y))
        turn = rng.choice(turns) if turns else rng.choice(
            (rng.uniform(-math.radians(10), math.radians(10)), rng.uniform(-2.8, 2.8), rng.uniform(-3.1, 3.1))
        )
        heading += turn
    return points


def ring(rng, count, size):
    """A rough circle whose last point may lie near the first (proximity
    closes it) or exactly on it."""
    radius = rng.uniform(3, 30) * max(size, 0.5) * count / 6
    start = rng.uniform(0, 2 * math.pi)
    points = [
        (radius * math.cos(start + 2 * math.pi * k / count) * rng.uniform(0.9, 1.1),
         radius * math.sin(start + 2 * math.pi * k / count) * rng.uniform(0.9, 1.1))
        for k in range(count)
    ]
    end = rng.choice(("near", "same", "none"))
    if end == "near":
        points.append((points[0][0] + rng.uniform(-size, size), points[0][1] + rng.uniform(-size, size)))
    elif end == "same":
        points.append(points[0])
    return points


def random_cases(seed, count):
    """(points, size, closing) triples: walks, rings, a few with points that
    are not finite, repeated or integer, and the empty and tiny ones."""
    rng = random.Random(seed)
    cases = []
    for n in range(count):
        size = rng.choice((0.0, 0.5, 1.0, 2.5, 5.0, 5.0, 5.0, 12.0, rng.uniform(0, 20)))
        closing = CLOSINGS[n % 3]
        shape = rng.random()
        if shape < 0.55:
            points = walk(rng, rng.randint(2, 20), size)
        elif shape < 0.85:
            points = ring(rng, rng.randint(3, 19), size)
        elif shape < 0.9:
            points = [(float(rng.randint(-50, 50)), float(rng.randint(-50, 50))) for _ in range(rng.randint(0, 6))]
        elif shape < 0.95:
            points = walk(rng, rng.randint(3, 8), size)
            points[rng.randrange(len(points))] = rng.choice(
                ((math.inf, 0.0), (0.0, -math.inf), (math.nan, 1.0), (1e308, 1e308))
            )
        else:
            points = walk(rng, rng.randint(3, 8), size)
            k = rng.randrange(1, len(points))
            points.insert(k, points[k - 1])
        cases.append((points, size, closing))
    return cases


finite = st.floats(min_value=-1e6, max_value=1e6, allow_nan=False, allow_infinity=False)
point_lists = st.lists(st.tuples(finite, finite), max_size=12)
closings = st.sampled_from(CLOSINGS)

