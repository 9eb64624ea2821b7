"""The style= argument of rrensen.fillet and rrensen.largest_fillet_size:
what each of the four styles' size measures, on a right angle and on
generated corners, and the names that are refused."""

import math
import struct

import pytest

import rrensen
from shapes import RIGHT_ANGLE

STYLES = ["chord", "radius", "chamfer", "chord-chamfer"]


def next_up(value):
    """The next double above a positive finite value (math.nextafter is
    Python 3.9's)."""
    (bits,) = struct.unpack("<q", struct.pack("<d", value))
    return struct.unpack("<d", struct.pack("<q", bits + 1))[0]


def cut(outline):
    """The one corner's cut of an outline of three segments."""
    assert outline, outline
    return outline.segments[1]


@pytest.mark.parametrize("turn_degrees", [3, 30, 90, 150])
@pytest.mark.parametrize("style", STYLES)
def test_each_style_measures_its_size_at_any_turn(style, turn_degrees):
    """chord: the cut's ends lie the size apart; radius: an arc whose
    radius is the size; chamfer: a line whose ends lie the size from the
    corner; chord-chamfer: a line the size long."""
    turn = math.radians(turn_degrees)
    points = [(-100, 0), (0, 0), (100 * math.cos(turn), 100 * math.sin(turn))]
    outline = rrensen.fillet(points, 4.0, closing="open", style=style)
    piece = cut(outline)
    if style == "radius":
        assert piece.radius == 4.0
        for end in (piece.start, piece.end):
            assert math.isclose(math.dist(piece.centre, end), 4.0, rel_tol=1e-12)
    elif style == "chamfer":
        for end in (piece.start, piece.end):
            assert math.isclose(math.dist(end, (0, 0)), 4.0, rel_tol=1e-12)
    else:
        assert math.isclose(math.dist(piece.start, piece.end), 4.0, rel_tol=1e-12)
    assert piece.is_arc == (style == "radius" or (style == "chord" and turn_degrees > 10))
    assert piece.is_arc or piece.bulge == 0.0
    assert math.isclose(outline.corners[0].cut_back, math.dist(piece.end, (0, 0)), rel_tol=1e-12)


@pytest.mark.parametrize("style", STYLES)
def test_the_largest_size_of_a_style_draws_in_that_style_and_the_next_does_not(style):
    """The chord style's largest size is in thousandths; the others' is
    exact to the last bit."""
    points = [(0, 0), (100, 0), (100, 8), (0, 8)]
    size = rrensen.largest_fillet_size(points, closing="open", style=style)
    assert size is not None and size > 0
    assert rrensen.fillet(points, size, closing="open", style=style)
    above = size + 0.001 if style == "chord" else next_up(size)
    assert not rrensen.fillet(points, above, closing="open", style=style)


@pytest.mark.parametrize("name", ["Chord", "round", "", "chord ", "radius\0"])
def test_an_unknown_style_is_a_value_error_listing_the_four(name):
    for call in (lambda: rrensen.fillet(RIGHT_ANGLE, style=name),
                 lambda: rrensen.largest_fillet_size(RIGHT_ANGLE, style=name)):
        with pytest.raises(ValueError, match="style must be") as raised:
            call()
        for style in STYLES:
            assert f"'{style}'" in str(raised.value)


@pytest.mark.parametrize("value", [None, 1, b"chord", ["chord"]])
def test_a_style_that_is_not_text_is_a_type_error(value):
    with pytest.raises(TypeError, match="style must be"):
        rrensen.fillet(RIGHT_ANGLE, style=value)
