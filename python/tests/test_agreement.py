"""The module agrees with the C++ library called from C++: the same
results, problems, segments and corners, to the bit, on random outlines
with every closing, and the same largest sizes.

The reference is tests' rrensen_points_cli (python/tests/points_cli.cc),
built by CMake: $RRENSEN_POINTS_CLI, or build/default/tests/ in this
checkout. Where it is not built the test is skipped, unless
$RRENSEN_REQUIRE_POINTS_CLI is set (the project's test command sets it).
"""

import math
import os
import subprocess
from pathlib import Path

import pytest

import rrensen
from shapes import random_cases

REFUSALS = ["none", "invalid_size", "no_corner", "not_finite", "short_side",
            "sharp_corner", "reversal", "corner_not_finite"]


def reference_program():
    path = os.environ.get("RRENSEN_POINTS_CLI")
    if not path:
        path = Path(__file__).resolve().parents[2] / "build" / "default" / "tests" / "rrensen_points_cli"
    if not Path(path).is_file():
        if os.environ.get("RRENSEN_REQUIRE_POINTS_CLI"):
            pytest.fail(f"the reference program {path} is not built")
        pytest.skip(f"the reference program {path} is not built "
                    "(cmake --build --preset default --target rrensen_points_cli)")
    return str(path)


def number(text):
    return float(text)


def run_reference(cases):
    """Runs the reference on cases ("fillet", points, size, closing) and
    ("largest", points, closing, limit); gives its lines per case."""
    lines = []
    for case in cases:
        if case[0] == "fillet":
            _, points, size, closing = case
            lines.append(f"fillet {size!r} {closing} {len(points)}")
        else:
            _, points, closing, limit = case
            lines.append(f"largest {closing} {limit!r} {len(points)}")
        lines.extend(f"{x!r} {y!r}" for x, y in points)
    done = subprocess.run([reference_program()], input="\n".join(lines) + "\n",
                          capture_output=True, text=True, check=True)
    return iter(done.stdout.splitlines())


def same(a, b):
    """Equal as doubles, NaN equal to NaN."""
    return a == b or (math.isnan(a) and math.isnan(b))


def check_outline(outline, out, where):
    words = next(out).split()
    assert words[0] == "result", where
    assert int(outline.result) == int(words[1]), where
    assert outline.closed == (words[3] == "1"), where
    _, kind, point, next_point, needed, found = next(out).split()
    message = next(out)[len("message "):]
    problem = outline.problem
    if int(kind) == 0:
        assert problem is None and outline, where
    else:
        assert not outline, where
        assert problem.kind == REFUSALS[int(kind)], where
        assert problem.point == (None if point == "-1" else int(point)), where
        assert problem.next_point == (None if next_point == "-1" else int(next_point)), where
        assert same(problem.needed, number(needed)) and same(problem.found, number(found)), where
        assert problem.message == message, where
    count = int(next(out).split()[1])
    assert len(outline.segments) == count, where
    for k, segment in enumerate(outline.segments):
        v = next(out).split()
        assert segment.is_arc == (v[0] == "1"), (where, k)
        assert segment.start == (number(v[1]), number(v[2])), (where, k)
        assert segment.end == (number(v[3]), number(v[4])), (where, k)
        centre = (number(v[5]), number(v[6])) if segment.is_arc else None
        assert segment.centre == centre, (where, k)
        assert segment.radius == number(v[7]) and segment.sweep == number(v[8]), (where, k)
        assert segment.corner == (None if v[9] == "-1" else int(v[9])), (where, k)
        assert segment.bulge == number(v[10]), (where, k)
    count = int(next(out).split()[1])
    assert len(outline.corners) == count, where
    for k, corner in enumerate(outline.corners):
        v = next(out).split()
        assert corner.point == int(v[0]) and corner.is_arc == (v[1] == "1"), (where, k)
        assert corner.tangent_in == (number(v[2]), number(v[3])), (where, k)
        assert corner.tangent_out == (number(v[4]), number(v[5])), (where, k)
        assert corner.cut_back == number(v[6]) and corner.turn == number(v[7]), (where, k)
        centre = (number(v[8]), number(v[9])) if corner.is_arc else None
        assert corner.centre == centre and corner.radius == number(v[10]), (where, k)


def test_random_outlines_agree_with_the_library_called_from_cpp():
    cases = random_cases(seed=20240611, count=3000)
    out = run_reference([("fillet", p, s, c) for p, s, c in cases])
    results = {}
    for n, (points, size, closing) in enumerate(cases):
        outline = rrensen.fillet(points, size, closing=closing)
        check_outline(outline, out, (n, closing, size, points))
        for key in ((closing, outline.result.name), (closing, outline.closed)):
            results[key] = results.get(key, 0) + 1
    assert next(out, None) is None
    # The cases cover every closing drawn and refused, and proximity both
    # closed and open.
    for closing in ("proximity", "open", "closed"):
        for result in ("DRAWN", "TOO_CLOSE", "TOO_SHARP"):
            assert results.get((closing, result), 0) > 30, results
    assert results.get(("proximity", True), 0) > 100, results
    assert results.get(("proximity", False), 0) > 100, results


def test_numpy_input_agrees_with_the_library_called_from_cpp():
    np = pytest.importorskip("numpy")
    cases = [case for case in random_cases(seed=7, count=600) if case[0]]
    out = run_reference([("fillet", p, s, c) for p, s, c in cases])
    for n, (points, size, closing) in enumerate(cases):
        check_outline(rrensen.fillet(np.array(points, dtype=np.float64), size, closing=closing),
                      out, (n, closing, size, points))


def test_largest_sizes_agree_with_the_library_called_from_cpp():
    cases = []
    for points, size, closing in random_cases(seed=99, count=300):
        cases.append(("largest", points, closing, math.inf))
        cases.append(("largest", points, closing, max(size, 0.001) * 2))
    out = run_reference(cases)
    for _, points, closing, limit in cases:
        words = next(out).split()
        found = rrensen.largest_fillet_size(points, closing=closing,
                                            limit=None if limit == math.inf else limit)
        assert (found is None) == (words[1] == "none"), (points, closing, limit)
        if found is not None:
            assert found == number(words[1]), (points, closing, limit)
