"""The module hands on every value the C++ library gives, unchanged: on
random outlines with every closing, the results, problems, segments and
corners are the library's to the bit, and so are the largest sizes. The
library itself is tested in C++; this checks the binding's conversions
(test_arguments.py checks that NumPy arrays read as lists do).

The reference is tests' rrensen_points_cli (python/tests/points_cli.cc),
built by CMake; see conftest.py for how it is found."""

import math
import subprocess

import pytest

import rrensen
from shapes import random_cases

REFUSALS = ["none", "invalid_size", "no_corner", "not_finite", "short_side",
            "sharp_corner", "reversal", "corner_not_finite"]


def run_reference(program, cases):
    """Runs the reference on cases ("fillet", points, size, closing) and
    ("largest", points, closing, limit); gives its lines."""
    lines = []
    for kind, points, a, b in cases:
        lines.append(f"fillet {a!r} {b} {len(points)}" if kind == "fillet" else f"largest {a} {b!r} {len(points)}")
        lines.extend(f"{x!r} {y!r}" for x, y in points)
    done = subprocess.run([program], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True)
    return iter(done.stdout.splitlines())


def same(a, b):
    """Equal as doubles, NaN equal to NaN."""
    return a == b or (math.isnan(a) and math.isnan(b))


def optional_int(word):
    return None if word == "-1" else int(word)


def check_outline(outline, out, where):
    _, result, _, closed = next(out).split()
    assert (int(outline.result), outline.closed) == (int(result), closed == "1"), where
    _, kind, point, next_point, needed, found = next(out).split()
    message = next(out)[len("message "):]
    problem = outline.problem
    if kind == "0":
        assert problem is None and outline, where
    else:
        assert not outline, where
        assert (problem.kind, problem.point, problem.next_point, problem.message) == (
            REFUSALS[int(kind)], optional_int(point), optional_int(next_point), message), where
        assert same(problem.needed, float(needed)) and same(problem.found, float(found)), where
    assert len(outline.segments) == int(next(out).split()[1]), where
    for k, segment in enumerate(outline.segments):
        v = next(out).split()
        n = [float(w) for w in v]
        assert (segment.is_arc, segment.start, segment.end) == (v[0] == "1", (n[1], n[2]), (n[3], n[4])), (where, k)
        assert segment.centre == ((n[5], n[6]) if segment.is_arc else None), (where, k)
        assert (segment.radius, segment.sweep, segment.corner, segment.bulge) == (
            n[7], n[8], optional_int(v[9]), n[10]), (where, k)
    assert len(outline.corners) == int(next(out).split()[1]), where
    for k, corner in enumerate(outline.corners):
        v = next(out).split()
        n = [float(w) for w in v]
        assert (corner.point, corner.is_arc, corner.tangent_in, corner.tangent_out) == (
            int(v[0]), v[1] == "1", (n[2], n[3]), (n[4], n[5])), (where, k)
        assert (corner.cut_back, corner.turn, corner.radius) == (n[6], n[7], n[10]), (where, k)
        assert corner.centre == ((n[8], n[9]) if corner.is_arc else None), (where, k)


def test_random_outlines_are_the_librarys(points_cli):
    cases = random_cases(seed=20240611, count=3000)
    out = run_reference(points_cli, [("fillet", *case) for case in cases])
    seen = {}
    for n, (points, size, closing) in enumerate(cases):
        outline = rrensen.fillet(points, size, closing=closing)
        check_outline(outline, out, (n, closing, size, points))
        seen[closing, outline.result.name] = seen.get((closing, outline.result.name), 0) + 1
    assert next(out, None) is None
    # Every closing drawn and refused.
    assert min(seen.get((c, r), 0) for c in ("proximity", "open", "closed")
               for r in ("DRAWN", "TOO_CLOSE", "TOO_SHARP")) > 30, seen


def test_largest_sizes_are_the_librarys(points_cli):
    cases = [("largest", points, closing, limit) for points, size, closing in random_cases(seed=99, count=300)
             for limit in (math.inf, max(size, 0.001) * 2)]
    out = run_reference(points_cli, cases)
    for _, points, closing, limit in cases:
        found = rrensen.largest_fillet_size(points, closing=closing, limit=None if limit == math.inf else limit)
        word = next(out).split()[1]
        assert found == (None if word == "none" else float(word)), (points, closing, limit)
