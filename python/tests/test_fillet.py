"""rrensen.fillet and rrensen.largest_fillet_size on worked outlines, and
the objects they give, every field of them. (The geometry of generated
outlines is the C++ library's property test.)"""

import math
from collections.abc import Sequence

import pytest

import rrensen
from shapes import RIGHT_ANGLE, SQUARE

# cut back of a right-angled corner: size / (2 cos 45 degrees); its radius,
# size / (2 sin 45 degrees), is the same.
CUT = 5.0 / (2 * math.cos(math.pi / 4))


def close(a, b, tolerance=1e-9):
    """Points or numbers equal within `tolerance` (drawing units)."""
    if isinstance(a, tuple):
        return all(math.isclose(p, q, abs_tol=tolerance) for p, q in zip(a, b))
    return math.isclose(a, b, abs_tol=tolerance)


def test_a_left_turn_is_an_arc_counter_clockwise_about_a_centre_on_the_left():
    outline = rrensen.fillet(RIGHT_ANGLE, 5.0)
    assert outline and outline.result is rrensen.Result.DRAWN and not outline.closed
    assert outline.problem is None
    first, arc, last = outline.segments
    assert not first.is_arc and first.start == (0.0, 0.0) and close(first.end, (100 - CUT, 0))
    assert first.centre is None and first.radius == 0.0 and first.sweep == 0.0
    assert first.corner is None and first.bulge == 0.0
    assert arc.is_arc and arc.corner == 0
    assert close(arc.start, (100 - CUT, 0)) and close(arc.end, (100, CUT))
    assert close(arc.centre, (100 - CUT, CUT)) and close(arc.radius, CUT)
    assert close(arc.sweep, math.pi / 2) and close(arc.bulge, math.tan(math.pi / 8))
    assert close(last.start, (100, CUT)) and last.end == (100.0, 100.0)
    (corner,) = outline.corners
    assert corner.point == 1 and corner.is_arc and close(corner.turn, math.pi / 2)
    assert corner.tangent_in == arc.start and corner.tangent_out == arc.end
    assert corner.centre == arc.centre and corner.radius == arc.radius
    assert close(corner.cut_back, CUT)
    assert close(math.dist(corner.tangent_in, corner.tangent_out), 5.0)


@pytest.mark.parametrize("points, centre, turn", [
    ([(0, 0), (0, 100), (100, 100)], (CUT, 100 - CUT), -math.pi / 2),
    ([(0, 0), (100, 0), (100 + 100 * math.cos(math.radians(5)), 100 * math.sin(math.radians(5)))], None,
     math.radians(5)),
], ids=["right turn: clockwise about a centre on the right", "shallow: a chord"])
def test_other_corners(points, centre, turn):
    outline = rrensen.fillet(points, 5.0)
    piece, corner = outline.segments[1], outline.corners[0]
    assert piece.is_arc == corner.is_arc == (centre is not None) and piece.corner == 0
    assert close(corner.turn, turn) and close(math.dist(piece.start, piece.end), 5.0)
    if centre is None:
        assert piece.centre is None and corner.centre is None and piece.radius == 0.0 and piece.bulge == 0.0
    else:
        assert close(piece.centre, centre) and close(piece.sweep, turn) and piece.bulge < 0


def test_closing_is_the_callers_choice():
    assert repr(rrensen.fillet(SQUARE, closing="open")) == "<Outline drawn, open, 5 segments>"
    closed = rrensen.fillet(SQUARE, closing="closed")
    assert repr(closed) == "<Outline drawn, closed, 8 segments>"
    assert closed.closed and [c.point for c in closed.corners] == [1, 2, 3, 0]
    assert closed.segments[-1].end == closed.segments[0].start
    # proximity: the last point nearer than twice the size to the first stands for it
    near = rrensen.fillet(SQUARE + [(0, 9.99)], 5.0)
    assert near.closed and len(near.segments) == 8
    far = rrensen.fillet(SQUARE + [(0, 10)], 5.0)
    assert not far.closed and len(far.segments) == 7
    assert rrensen.fillet(SQUARE + [(0, 10)], 5.0, closing="closed").closed


def test_two_points_open_are_one_line():
    outline = rrensen.fillet([(1, 2), (50, 2)], 5.0, closing="open")
    assert repr(outline) == "<Outline drawn, open, 1 segment>"
    assert outline.segments[0].start == (1.0, 2.0) and len(outline.corners) == 0


REFUSALS = [
    # points, size, closing, result, kind, point, next_point, needed, found, message
    ([(0, 0), (100, 0), (100, 8)], 5, "proximity", "TOO_CLOSE", "short_side", 1, 2, 10, 8,
     "the side from point 2 to point 3 is 8.000 long and needs 10.000"),
    ([(0, 0), (5, 0), (5, 100)], 5, "proximity", "TOO_SHARP", "sharp_corner", 1, None, 1.5 * CUT, 5,
     "the corner at point 2 turns too sharply: a side of 5.000 needs 5.303"),
    ([(0, 100), (0, 0), (0, 100)], 0, "open", "REVERSAL", "reversal", 1, None, 0, 0,
     "the corner at point 2 turns exactly back on itself"),
    ([(0, 0), (math.inf, 0), (100, 100)], 5, "open", "TOO_CLOSE", "not_finite", 1, None, 0, 0,
     "point 2 is not a finite number"),
    ([(3, 4)], 5, "proximity", "TOO_CLOSE", "no_corner", None, None, 0, 0,
     "there are fewer than three points once the outline is closed"),
    ([(-1e308, 0), (1e308, 0), (1e308, 1e308)], 5, "open", "TOO_CLOSE", "corner_not_finite", 1, None, 0, 0,
     "the corner at point 2 gives a value that is not a finite number"),
]


@pytest.mark.parametrize("points, size, closing, result, kind, point, next_point, needed, found, message",
                         REFUSALS, ids=[case[4] + str(n) for n, case in enumerate(REFUSALS)])
def test_refusals_say_which_rule_where_and_by_how_much(points, size, closing, result, kind, point,
                                                      next_point, needed, found, message):
    outline = rrensen.fillet(points, size, closing=closing)
    assert not outline and outline.result is rrensen.Result[result]
    assert len(outline.segments) == 0 and len(outline.corners) == 0
    problem = outline.problem
    assert (problem.kind, problem.point, problem.next_point) == (kind, point, next_point)
    assert close(problem.needed, needed) and close(problem.found, found)
    assert problem.message == message
    assert repr(outline) == f"<Outline {result.lower()}: {message}>"
    assert repr(problem) == f"<Problem {kind}: {message}>"


def test_result_is_an_int_enum_of_the_tools_codes():
    assert [(r.name, int(r)) for r in rrensen.Result] == [
        ("DRAWN", 0), ("TOO_CLOSE", 1), ("TOO_SHARP", 2), ("REVERSAL", 3)]
    assert rrensen.Result(2) is rrensen.Result.TOO_SHARP and rrensen.Result.TOO_SHARP == 2
    assert rrensen.fillet([(0, 0), (5, 0), (5, 100)]).result == 2


def test_segments_and_corners_are_read_only_sequences_that_outlive_the_outline():
    outline = rrensen.fillet(SQUARE, closing="closed")
    segments, corners = outline.segments, outline.corners
    del outline
    assert isinstance(segments, Sequence) and isinstance(corners, Sequence)
    assert len(segments) == 8 and repr(segments) == "<8 segments>" and repr(corners) == "<4 corners>"
    listed = list(segments)
    assert segments[-1] == listed[-1] and segments[-8] == listed[0]
    assert segments[1:7:2] == listed[1:7:2] and segments[::-1] == listed[::-1]
    assert list(reversed(segments)) == listed[::-1]
    assert listed[3] in segments and listed[3] != listed[4]
    assert [c.point for c in corners] == [1, 2, 3, 0] and corners[-1] == list(corners)[-1]
    for bad in (8, -9, 2**70):
        with pytest.raises(IndexError):
            segments[bad]
    with pytest.raises(TypeError):
        segments["0"]
    with pytest.raises(AttributeError):
        listed[0].start = (1, 2)
    assert segments[0] != "a segment" and corners[0] != segments[0]
    with pytest.raises(TypeError):
        hash(segments[0])


def test_largest_size_draws_and_the_next_thousandth_does_not():
    assert rrensen.largest_fillet_size([(0, 0), (100, 0), (100, 8)]) == 4.0
    assert rrensen.largest_fillet_size(RIGHT_ANGLE, limit=20) == 19.999
    assert rrensen.largest_fillet_size(RIGHT_ANGLE, limit=20.0) == 19.999
    # two points open: every size draws
    assert rrensen.largest_fillet_size([(0, 0), (100, 0)], closing="open") == math.inf
    assert 0.99e300 < rrensen.largest_fillet_size([(0, 0), (1, 0)], closing="open", limit=1e300) < 1e300
    assert rrensen.largest_fillet_size([(0, 100), (0, 0), (0, 100)]) is None
    assert rrensen.largest_fillet_size([]) is None
    for closing in ("proximity", "open", "closed"):
        size = rrensen.largest_fillet_size(SQUARE, closing=closing, limit=1000)
        assert size == 50.0 == rrensen.largest_fillet_size(SQUARE, closing=closing)
        assert rrensen.fillet(SQUARE, size, closing=closing)
        assert not rrensen.fillet(SQUARE, size + 0.001, closing=closing)
