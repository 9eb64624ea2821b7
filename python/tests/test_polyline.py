"""rrensen.fillet_polyline: polylines with arcs, as DXF files carry them.
Arcs are kept to the bit, straight runs are filleted as rrensen.fillet
fillets them, refused runs are reported. (Random polylines that mix arcs
and runs are the C++ library's property test.)"""

import math
import random

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import rrensen
from shapes import walk

# A plate: a straight run, a quarter arc (bulge tan(pi / 8)), another run.
QUARTER = math.tan(math.pi / 8)
PLATE = [(0.0, 0.0, 0.0), (100.0, 0.0, 0.0), (100.0, 50.0, QUARTER), (50.0, 100.0, 0.0), (0.0, 100.0, 0.0)]


def same_cycle(a, b):
    """Two closed polylines' vertices are the same, whichever vertex each
    starts at (the polyline starts where the cut at its first vertex does,
    the outline after the corner at its second)."""
    return len(a) == len(b) and any(a[k:] + a[:k] == b for k in range(len(a) or 1))


def expected_from_fillet(points, size, closing, style="chord"):
    """What an outline rrensen.fillet draws is as polyline vertices: each
    segment's start with its bulge, and, open, the last end."""
    outline = rrensen.fillet(points, size, closing=closing, style=style)
    assert outline, outline
    vertices = [(s.start[0], s.start[1], s.bulge) for s in outline.segments]
    if not outline.closed:
        last = outline.segments[-1].end
        vertices.append((last[0], last[1], 0.0))
    return vertices


class TestWorkedPolylines:
    def test_a_right_angle_is_filleted_with_the_cut_ends_size_apart(self):
        result = rrensen.fillet_polyline([(0, 0, 0), (100, 0, 0), (100, 100, 0)], 5.0, closed=False)
        assert result and not result.closed and result.refused_runs == []
        assert (result.corners_filleted, result.corners_left) == (1, 0)
        (x0, y0, b0), (x1, y1, b1), (x2, y2, b2), (x3, y3, b3) = result.vertices
        assert (x0, y0) == (0.0, 0.0) and (x3, y3) == (100.0, 100.0)
        assert math.isclose(math.dist((x1, y1), (x2, y2)), 5.0)
        assert math.isclose(b1, math.tan(math.pi / 8)) and b0 == b2 == 0.0
        assert result.sources == [0, -1, -1, 2]
        assert repr(result) == "<PolylineResult open, 4 vertices, 1 filleted, 0 left>"

    def test_the_plates_arc_is_kept_to_the_bit_and_its_runs_filleted(self):
        result = rrensen.fillet_polyline(PLATE, 5.0, closed=True)
        assert result and result.closed
        assert result.corners_filleted == 3 and result.corners_left == 0
        kept = [(v, s) for v, s in zip(result.vertices, result.sources) if s >= 0]
        for vertex, source in kept:
            assert vertex == PLATE[source]
        assert (100.0, 50.0, QUARTER) in result.vertices and 2 in result.sources

    def test_a_refused_run_is_left_as_it_was_and_reported(self):
        # The run 0-1-2 has a side 8 long, too short for size 5; the arc
        # and the run after it are not touched by that.
        vertices = [(0, 0, 0), (100, 0, 0), (100, 8, QUARTER), (200, 8, 0), (200, 108, 0), (300, 108, 0)]
        result = rrensen.fillet_polyline(vertices, 5.0, closed=False)
        assert not result
        (run,) = result.refused_runs
        assert (run.first_vertex, run.last_vertex) == (0, 2)
        assert isinstance(run.problem, rrensen.Problem) and run.problem.kind == "short_side"
        assert (run.problem.point, run.problem.next_point) == (1, 2)
        assert run.largest_size == 4.0
        assert result.vertices[:3] == [(0.0, 0.0, 0.0), (100.0, 0.0, 0.0), (100.0, 8.0, QUARTER)]
        assert result.corners_left == 1 and result.corners_filleted == 1
        assert repr(result).endswith(", 1 run refused>")
        assert repr(run).startswith("<RefusedRun vertices 0 to 2, short_side: ")

    def test_a_run_no_size_fillets_has_no_largest_size(self):
        result = rrensen.fillet_polyline([(0, 100, 0), (0, 0, 0), (0, 100, 0)], 5.0, closed=False)
        (run,) = result.refused_runs
        assert run.largest_size is None

    def test_a_numpy_array_is_read_as_the_sequence_is(self):
        numpy = pytest.importorskip("numpy")
        array = numpy.array(PLATE)
        assert rrensen.fillet_polyline(array, 5.0, closed=True).vertices == \
            rrensen.fillet_polyline(PLATE, 5.0, closed=True).vertices
        with pytest.raises(ValueError, match=r"shape \(N, 3\)"):
            rrensen.fillet_polyline(array[:, :2], 5.0, closed=True)

    @pytest.mark.parametrize("vertices, error, words", [
        ([(0, 0), (1, 0)], ValueError, r"vertices\[0\] has 2 items, not 3: it must be a triple \(x, y, bulge\)"),
        ([(0, 0, "b")], TypeError, r"vertices\[0\]\[2\] must be a number"),
        ("xyb", TypeError, "vertices must be a sequence of triples"),
    ])
    def test_bad_vertices_are_named(self, vertices, error, words):
        with pytest.raises(error, match=words):
            rrensen.fillet_polyline(vertices, 5.0, closed=False)

    def test_closed_is_required_by_keyword(self):
        with pytest.raises(TypeError):
            rrensen.fillet_polyline(PLATE, 5.0)  # type: ignore[call-arg]
        with pytest.raises(TypeError):
            rrensen.fillet_polyline(PLATE, 5.0, True)  # type: ignore[misc]


class TestProperties:
    @settings(max_examples=200, deadline=None)
    @given(st.integers(0, 2**32 - 1), st.booleans(), st.sampled_from(["chord", "radius", "chamfer", "chord-chamfer"]))
    def test_a_polyline_without_arcs_is_what_fillet_draws_in_its_style(self, seed, closed, style):
        rng = random.Random(seed)
        points = walk(rng, rng.randint(3, 14), 5.0)
        closing = "closed" if closed else "open"
        result = rrensen.fillet_polyline([(x, y, 0.0) for x, y in points], 5.0, closed=closed, style=style)
        outline = rrensen.fillet(points, 5.0, closing=closing, style=style)
        if outline:
            expected = expected_from_fillet(points, 5.0, closing, style)
            assert result and (same_cycle(result.vertices, expected) if closed else result.vertices == expected)
        else:
            assert not result and [(x, y) for x, y, _ in result.vertices] == points
