"""What rrensen's functions take: every kind of points they read gives the
same outline, and every bad argument a TypeError or ValueError that names
it (and the index of the first bad item), never a crash, a hang or a leak."""

import array
import collections
import gc
import math
import subprocess
import sys
import tracemalloc
from decimal import Decimal
from fractions import Fraction

import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import rrensen
from shapes import SQUARE, closings, point_lists


def same_outline(a, b):
    return (a.result == b.result and a.closed == b.closed and list(a.segments) == list(b.segments)
            and list(a.corners) == list(b.corners) and repr(a) == repr(b))


class Pairs(collections.abc.Sequence):
    """A sequence of the caller's own."""

    def __init__(self, items):
        self.items = items

    def __len__(self):
        return len(self.items)

    def __getitem__(self, index):
        return self.items[index]


def numpy_squares(np):
    """The square in every form NumPy gives it: every real dtype, strides,
    orders, alignment, records of two numbers, views and lists of rows."""
    square = np.array(SQUARE, dtype=np.float64)
    spread = np.zeros((8, 4))
    spread[::2, 1:3] = SQUARE
    unaligned = np.frombuffer(b"\0" + square.tobytes(), dtype=np.float64, offset=1).reshape(4, 2)
    return [np.array(SQUARE, dtype=dtype) for dtype in [
        "float32", "float16", "longdouble", "int8", "int16", "int32", "int64", "uint8", "uint16", "uint32",
        "uint64", ">f8", "<f8", ">i4", ">u2", ">f4", "object"]] + [
        square, spread[::2, 1:3], np.asfortranarray(square), square.T.copy().T, square[::-1][::-1], unaligned,
        memoryview(square), square.tolist(), list(square), square.astype("float32").astype(">f4"),
        np.array(SQUARE, dtype=[("x", "f8"), ("y", "i4")])]


@pytest.mark.parametrize("points", [
    [(0, 0), (100, 0), (100, 100), (0, 100)],
    ((0, 0), (100, 0), (100, 100), (0, 100)),
    [[0.0, 0.0], [100.0, 0.0], [100.0, 100.0], [0.0, 100.0]],
    [(Fraction(0), Decimal(0)), (Decimal("100"), 0), (100, Fraction(200, 2)), (0, 100)],
    Pairs([Pairs([0, 0]), (100, 0), [100, 100], range(0, 101, 100)]),
    collections.deque([(0, 0), (100, 0), (100, 100), (0, 100)]),
    [(0, 0), (1e2, 0), (100, 1e2), (-0.0, 100)],
    "numpy",
], ids=["tuples", "tuple", "lists", "fractions", "own sequence", "deque", "floats", "numpy"])
def test_every_form_of_the_points_gives_the_same_outline(points):
    expected = rrensen.fillet(SQUARE, 5.0, closing="closed")
    for form in (numpy_squares(pytest.importorskip("numpy")) if points == "numpy" else [points]):
        assert same_outline(rrensen.fillet(form, 5, closing="closed"), expected), form


def test_a_list_changed_while_it_is_read_is_read_safely():
    class Shrinking:
        """A number that empties the list it is in when Python reads it."""

        def __init__(self, points):
            self.points = points

        def __float__(self):
            self.points.clear()
            return 1.0

    points = [(0, 0), (100, 0), (100, 100), (0, 100)]
    points.insert(1, (Shrinking(points), 0))
    outline = rrensen.fillet(points, closing="open")
    # The list was read up to where it ended: two points, one line.
    assert len(outline.segments) == 1 and outline.segments[0].end == (1.0, 0.0)


class TestNumpy:
    np = pytest.importorskip("numpy")

    def test_arrays_are_read_as_their_values_in_their_order(self):
        points = self.np.array([(0.1, 0.2), (100.3, 0.1), (100.7, 99.9)], dtype=self.np.float32)
        assert same_outline(rrensen.fillet(points), rrensen.fillet([(float(x), float(y)) for x, y in points]))
        assert same_outline(rrensen.fillet(self.np.array(SQUARE)[::-1], closing="closed"),
                            rrensen.fillet(SQUARE[::-1], closing="closed"))

    def test_empty_arrays_are_no_points(self):
        np = self.np
        for points in (np.array([]), np.zeros((0, 2)), np.zeros((0, 2), dtype=object)):
            assert rrensen.fillet(points).problem.kind == "no_corner"

    def test_numpy_scalars_are_numbers(self):
        np = self.np
        assert rrensen.fillet([(np.int64(0), np.float32(0)), (np.uint8(100), 0), (100, np.float16(100))],
                              np.float64(5))
        assert rrensen.largest_fillet_size(np.array(SQUARE), limit=np.int32(20)) == 19.999

    @pytest.mark.parametrize("make, error, message", [
        (lambda np: np.zeros((3, 3)), ValueError,
         r"points\[0\] has 3 values: points must be an array of shape \(N, 2\), not \(3, 3\)"),
        (lambda np: np.zeros(4), ValueError, r"shape \(N, 2\), not \(4,\)"),
        (lambda np: np.zeros((2, 2, 2)), ValueError, r"not \(2, 2, 2\)"),
        (lambda np: np.zeros(()), ValueError, r"not \(\)"),
        (lambda np: np.zeros((3, 2), dtype=bool), TypeError, "points must hold real numbers, not booleans"),
        (lambda np: np.zeros((3, 2), dtype=complex), TypeError, "not complex numbers"),
        (lambda np: np.array([[0, 0], [1]], dtype=object), ValueError, r"points\[1\] has 1 item, not 2"),
        (lambda np: np.array([["0", "1"]]), TypeError, r"points\[0\]\[0\] must be a number, not numpy.str_"),
        (lambda np: np.zeros((3, 2), dtype="M8[s]"), TypeError, r"points\[0\]\[0\] \(a numpy.datetime64\)"),
        (lambda np: np.zeros(3, dtype=[("x", "f8"), ("y", "f8"), ("z", "f8")]), ValueError,
         r"points\[0\] has 3 items, not 2"),
        (lambda np: np.array([(0, 0), (1, None)], dtype=object), TypeError, r"points\[1\]\[1\] must be a number"),
    ], ids=["3 columns", "1-D", "3-D", "0-D", "bool", "complex", "ragged", "str", "datetime", "3 fields", "None"])
    def test_bad_arrays_are_refused_by_name(self, make, error, message):
        with pytest.raises(error, match=message):
            rrensen.fillet(make(self.np))
        with pytest.raises(error, match=message):
            rrensen.largest_fillet_size(make(self.np))


def test_numpy_is_not_needed_to_import_or_to_fillet_lists():
    code = ("import sys; sys.modules['numpy'] = None\n"
            "import rrensen\n"
            "assert rrensen.fillet([(0, 0), (100, 0), (100, 100)])\n"
            "assert rrensen.fillet(((0, 0), (1, 1)), closing='open')\n"
            "assert 'numpy' not in sys.modules or sys.modules['numpy'] is None\n"
            "print('ok')\n")
    done = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True)
    assert done.stdout == "ok\n", done.stderr


BAD_POINTS = [
    (None, TypeError, r"^points must be a sequence of pairs \(x, y\) or an array of shape \(N, 2\), not NoneType$"),
    ("0,0 1,1", TypeError, r"points must be a sequence of pairs .*, not str$"),
    (b"\0\0", TypeError, "not bytes$"),
    (bytearray(4), TypeError, "not bytearray$"),
    (5, TypeError, "not int$"),
    ({(0, 0): 1}, TypeError, "not dict$"),
    ({(0, 0), (1, 1)}, TypeError, "not set$"),
    ((p for p in SQUARE), TypeError, "not generator$"),
    (array.array("d", [0, 0, 1, 1]), ValueError, r"not \(4,\)$"),
    ([(0, 0), None], TypeError, r"^points\[1\] must be a pair \(x, y\), not NoneType$"),
    ([(0, 0), "ab"], TypeError, r"^points\[1\] must be a pair \(x, y\), not str$"),
    ([(0, 0), 1.5], TypeError, r"^points\[1\] must be a pair \(x, y\), not float$"),
    ([(0, 0), (1, "2")], TypeError, r"^points\[1\]\[1\] must be a number, not str$"),
    ([(0, 0), (1, 2, 3)], ValueError, r"^points\[1\] has 3 items, not 2: it must be a pair \(x, y\)$"),
    ([(0, 0), (1,)], ValueError, r"^points\[1\] has 1 item, not 2"),
    ([(0, 0), ()], ValueError, r"^points\[1\] has 0 items, not 2"),
    ([(0, 0), [1, None]], TypeError, r"^points\[1\]\[1\] must be a number, not NoneType$"),
    ([(0, 0), (True, 1)], TypeError, r"^points\[1\]\[0\] must be a number, not bool$"),
    ([(0, 0), (10**400, 1)], ValueError, r"^points\[1\]\[0\] is too large for a float$"),
    ([(0, 0), (Fraction(10**400), 1)], ValueError, r"^points\[1\]\[0\] is too large for a float$"),
    ([(0, 0), (1j, 0)], TypeError, r"^points\[1\]\[0\] must be a number, not complex$"),
    ([(0, 0), (Decimal("sNaN"), 0)], ValueError, r"^points\[1\]\[0\] \(a decimal.Decimal\) cannot be read as a float$"),
    ([(0, 0), ({}, 0)], TypeError, r"^points\[1\]\[0\] must be a number, not dict$"),
    ([(0, 0), (0, 0), (0, 0), {0: 1, 1: 2}], TypeError, r"^points\[3\] must be a pair"),
]


@pytest.mark.parametrize("points, error, message", BAD_POINTS, ids=[str(n) for n in range(len(BAD_POINTS))])
def test_bad_points_are_refused_by_name_and_index(points, error, message):
    with pytest.raises(error, match=message):
        rrensen.fillet(points)
    if not hasattr(points, "__next__"):
        with pytest.raises(error, match=message):
            rrensen.largest_fillet_size(points)


CLOSING = r"^closing must be 'proximity' \(.*\), 'open' or 'closed'"


@pytest.mark.parametrize("functions, keywords, error, message", [
    ("f", {"size": "5"}, TypeError, "^size must be a number, not str$"),
    ("f", {"size": None}, TypeError, "^size must be a number, not NoneType$"),
    ("f", {"size": True}, TypeError, "^size must be a number, not bool$"),
    ("f", {"size": (5,)}, TypeError, "^size must be a number, not tuple$"),
    ("f", {"size": -1}, ValueError, r"^size must be a finite number of 0 or more, not -1\.0$"),
    ("f", {"size": -1e-300}, ValueError, "not -1e-300$"),
    ("f", {"size": math.nan}, ValueError, "not nan$"),
    ("f", {"size": math.inf}, ValueError, "not inf$"),
    ("f", {"size": -math.inf}, ValueError, "not -inf$"),
    ("f", {"size": 10**400}, ValueError, "^size is too large for a float$"),
    *[("fl", {"closing": closing}, error, CLOSING) for closing, error in [
        ("Open", ValueError), ("", ValueError), ("open ", ValueError), ("closed\0", ValueError),
        (1, TypeError), (None, TypeError), (b"open", TypeError), ("\ud800", ValueError)]],
    ("l", {"limit": 0}, ValueError, r"^limit must be None or a number above 0 \(inf for no limit\), not 0\.0$"),
    ("l", {"limit": -1}, ValueError, "not -1.0$"), ("l", {"limit": math.nan}, ValueError, "not nan$"),
    ("l", {"limit": -math.inf}, ValueError, "not -inf$"),
    ("l", {"limit": "20"}, TypeError, "^limit must be a number, not str$"),
    ("l", {"limit": False}, TypeError, "not bool$"),
])
def test_bad_sizes_closings_and_limits_are_refused(functions, keywords, error, message):
    """f: rrensen.fillet, l: rrensen.largest_fillet_size."""
    for function in [rrensen.fillet] * ("f" in functions) + [rrensen.largest_fillet_size] * ("l" in functions):
        with pytest.raises(error, match=message):
            function(SQUARE, **keywords)


def test_sizes_of_0_and_of_any_real_type_are_taken():
    for size in (0, 0.0, -0.0, Fraction(5), Decimal("5"), 5):
        assert rrensen.fillet(SQUARE, size).result == rrensen.fillet(SQUARE, float(size)).result


def test_limits_none_and_inf_are_no_limit():
    assert rrensen.largest_fillet_size(SQUARE, limit=None) == rrensen.largest_fillet_size(SQUARE, limit=math.inf)
    assert rrensen.largest_fillet_size(SQUARE, limit=10**300) == rrensen.largest_fillet_size(SQUARE)


def test_the_small_arguments_are_checked_before_the_points_are_read():
    with pytest.raises(ValueError, match="^size"):
        rrensen.fillet([(0, 0), None], -1)
    with pytest.raises(ValueError, match="^closing"):
        rrensen.fillet([(0, 0), None], closing="shut")
    with pytest.raises(ValueError, match="^limit"):
        rrensen.largest_fillet_size([(0, 0), None], limit=0)


def test_closing_is_keyword_only_and_points_are_needed():
    with pytest.raises(TypeError):
        rrensen.fillet(SQUARE, 5.0, "open")
    with pytest.raises(TypeError):
        rrensen.fillet()
    with pytest.raises(TypeError):
        rrensen.largest_fillet_size(SQUARE, "open")
    with pytest.raises(TypeError):
        rrensen.fillet(SQUARE, colsing="open")


def test_errors_raised_by_the_callers_own_objects_go_on_unchanged():
    class Broken:
        def __float__(self):
            raise KeyError("mine")

    class LyingLength(collections.abc.Sequence):
        def __len__(self):
            return 3

        def __getitem__(self, index):
            if index >= 1:
                raise IndexError(index)
            return (0, 0)

    with pytest.raises(KeyError, match="mine"):
        rrensen.fillet([(0, 0), (Broken(), 1)])
    with pytest.raises(IndexError):
        rrensen.fillet(LyingLength())
    # a TypeError of its own becomes ours, with its own as the cause
    class Refusing:
        def __float__(self):
            raise TypeError("no")

    with pytest.raises(TypeError, match=r"points\[0\]\[1\] \(a .*Refusing\) cannot be read") as caught:
        rrensen.fillet([(0, Refusing())])
    assert isinstance(caught.value.__cause__, TypeError)


# Anything at all, and things near to what is wanted: nested lists, huge and
# odd numbers, NumPy arrays of every dtype, shape and stride.
numbers = st.one_of(st.floats(), st.integers(), st.integers(min_value=2**1000), st.booleans(),
                    st.fractions(), st.decimals(), st.complex_numbers(), st.none(), st.text(max_size=3))
anything = st.one_of(
    st.from_type(object),
    numbers,
    st.recursive(numbers, lambda inner: st.lists(inner, max_size=4) | st.tuples(inner, inner)
                 | st.tuples(inner) | st.dictionaries(st.text(max_size=2), inner, max_size=2), max_leaves=12),
    st.lists(st.tuples(numbers, numbers), max_size=6),
    point_lists,
)
try:
    import numpy as np
    from hypothesis.extra import numpy as hnp

    arrays = st.one_of(
        hnp.arrays(hnp.scalar_dtypes() | hnp.byte_string_dtypes() | hnp.unicode_string_dtypes()
                   | hnp.array_dtypes(max_size=2), hnp.array_shapes(min_dims=0, max_dims=3, max_side=5)),
        hnp.arrays(hnp.floating_dtypes() | hnp.integer_dtypes() | hnp.unsigned_integer_dtypes(),
                   st.tuples(st.integers(0, 12), st.sampled_from([2, 2, 2, 4]))).flatmap(
            lambda a: st.sampled_from([a, a[::2], a[::-1], a[:, ::2], a.T, np.asfortranarray(a)])),
    )
    anything = st.one_of(anything, arrays, arrays.map(lambda a: a.astype(object)),
                         arrays.filter(lambda a: a.ndim > 0).map(list))
except ImportError:  # pragma: no cover - NumPy is optional
    pass

EXPECTED_ERRORS = (TypeError, ValueError)


def call_everything(points, size, closing, limit):
    """Each function with these arguments: a value of the promised type, or
    a TypeError or ValueError that says something."""
    try:
        outline = rrensen.fillet(points, size, closing=closing)
        assert isinstance(outline, rrensen.Outline)
        repr(outline), list(outline.segments), list(outline.corners), repr(outline.problem)
    except EXPECTED_ERRORS as error:
        assert str(error)
    try:
        found = rrensen.largest_fillet_size(points, closing=closing, limit=limit)
        assert found is None or isinstance(found, float)
    except EXPECTED_ERRORS as error:
        assert str(error)


@settings(max_examples=400, deadline=None, suppress_health_check=list(HealthCheck))
@given(points=anything, closing=closings)
def test_no_points_of_any_type_crash(points, closing):
    call_everything(points, 5.0, closing, None)


@settings(max_examples=150, deadline=None, suppress_health_check=list(HealthCheck))
@given(points=st.one_of(point_lists, anything), size=st.one_of(anything, st.floats(0, 100)),
       closing=st.one_of(anything, closings), limit=anything)
def test_no_arguments_of_any_type_crash(points, size, closing, limit):
    call_everything(points, size, closing, limit)


def test_calls_good_and_bad_leak_nothing():
    calls = [
        lambda: rrensen.fillet(SQUARE, 5.0, closing="closed"),
        lambda: list(rrensen.fillet(SQUARE, 5.0).segments),
        lambda: rrensen.fillet([(0, 0), (5, 0), (5, 100)]).problem.message,
        lambda: rrensen.largest_fillet_size(SQUARE, limit=20),
        lambda: rrensen.fillet([(0, 0), (1, "2")]),
        lambda: rrensen.fillet([(0, 0), (1, 2, 3)]),
        lambda: rrensen.fillet([(0, 0), (10**400, 0)]),
        lambda: rrensen.fillet([(0, 0), (Decimal("sNaN"), 0)]),
        lambda: rrensen.fillet(None),
        lambda: rrensen.fillet(SQUARE, -1),
        lambda: rrensen.fillet(SQUARE, closing="shut"),
        lambda: rrensen.largest_fillet_size(SQUARE, limit=0),
        lambda: rrensen.fillet(SQUARE)[0:3],
    ]
    try:
        import numpy as np

        calls += [lambda: rrensen.fillet(np.array(SQUARE)), lambda: rrensen.fillet(np.zeros((3, 3))),
                  lambda: rrensen.fillet(np.array(SQUARE, dtype=object)),
                  lambda: rrensen.fillet(np.zeros((3, 2), dtype=bool))]
    except ImportError:  # pragma: no cover - NumPy is optional
        pass

    def run_all(times):
        for _ in range(times):
            for call in calls:
                try:
                    call()
                except (TypeError, ValueError):
                    pass

    run_all(50)  # warm up: caches, interned strings, the enum's members
    gc.collect()
    tracemalloc.start()
    try:
        before = tracemalloc.get_traced_memory()[0]
        run_all(500)
        gc.collect()
        grown = tracemalloc.get_traced_memory()[0] - before
    finally:
        tracemalloc.stop()
    # 500 rounds of every call: a reference kept per call would hold at
    # least 8000 objects, hundreds of kilobytes.
    assert grown < 20000, grown
