"""The module calls the C++ library and hands on what it gives: on random
outlines with every closing, the results, closings, problems and segments
are the library's to the bit. (The library is tested in C++;
test_fillet.py checks every field of the objects and the largest sizes,
test_arguments.py how the arguments are read.)

The reference is tests' rrensen_points_cli (python/tests/points_cli.cc),
built by CMake; see conftest.py for how it is found."""

import subprocess

import rrensen
from shapes import random_cases


def run_reference(program, cases):
    """Runs the reference on cases (points, size, closing); gives its lines."""
    lines = []
    for points, size, closing in cases:
        lines.append(f"fillet {size!r} {closing} {len(points)}")
        lines.extend(f"{x!r} {y!r}" for x, y in points)
    done = subprocess.run([program], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True)
    return iter(done.stdout.splitlines())


def test_random_outlines_are_the_librarys(points_cli):
    cases = random_cases(seed=20240611, count=1000)
    out = run_reference(points_cli, cases)
    for n, (points, size, closing) in enumerate(cases):
        outline = rrensen.fillet(points, size, closing=closing)
        where = (n, closing, size, points)
        assert f"result {int(outline.result)} closed {int(outline.closed)}" == next(out), where
        next(out)  # the problem's numbers
        assert next(out) == "message " + (outline.problem.message if outline.problem else ""), where
        assert len(outline.segments) == int(next(out).split()[1]), where
        for segment in outline.segments:
            v = [float(w) for w in next(out).split()]
            assert (segment.start, segment.end, segment.bulge) == ((v[1], v[2]), (v[3], v[4]), v[10]), where
        for _ in range(int(next(out).split()[1])):  # the corners
            next(out)
    assert next(out, None) is None

