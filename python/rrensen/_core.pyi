# Types of the compiled module rrensen._core, which the package rrensen
# re-exports. Kept by hand beside python/src/module.cc;
# python/tests/test_stubs.py checks that the two name the same things.

import enum
from typing import (
    Any,
    Dict,
    Iterator,
    List,
    Literal,
    Optional,
    Protocol,
    Sequence,
    SupportsFloat,
    SupportsIndex,
    Tuple,
    Union,
    overload,
)

__version__: str

_Number = Union[SupportsFloat, SupportsIndex]
"""A real number: int, float, a NumPy scalar, Fraction, Decimal; not bool."""

class _Array(Protocol):
    """A NumPy array (read through the buffer protocol)."""
    def __array__(self) -> Any: ...

_PointsLike = Union[Sequence[Sequence[_Number]], _Array]
_VerticesLike = Union[Sequence[Sequence[_Number]], _Array]
"""A sequence of (x, y) pairs, or an array of shape (N, 2)."""

_ClosingName = Literal["proximity", "open", "closed"]
_StyleName = Literal["chord", "radius", "chamfer", "chord-chamfer", "dogbone", "tbone"]

class Result(enum.IntEnum):
    DRAWN = 0
    TOO_CLOSE = 1
    TOO_SHARP = 2
    REVERSAL = 3

class Segment:
    @property
    def is_arc(self) -> bool: ...
    @property
    def start(self) -> Tuple[float, float]: ...
    @property
    def end(self) -> Tuple[float, float]: ...
    @property
    def centre(self) -> Optional[Tuple[float, float]]: ...
    @property
    def radius(self) -> float: ...
    @property
    def sweep(self) -> float: ...
    @property
    def corner(self) -> Optional[int]: ...
    @property
    def bulge(self) -> float: ...
    def __eq__(self, other: object) -> bool: ...

class Corner:
    @property
    def point(self) -> int: ...
    @property
    def is_arc(self) -> bool: ...
    @property
    def tangent_in(self) -> Tuple[float, float]: ...
    @property
    def tangent_out(self) -> Tuple[float, float]: ...
    @property
    def cut_back(self) -> float: ...
    @property
    def turn(self) -> float: ...
    @property
    def centre(self) -> Optional[Tuple[float, float]]: ...
    @property
    def radius(self) -> float: ...
    def __eq__(self, other: object) -> bool: ...

class Problem:
    @property
    def kind(self) -> Literal[
        "no_corner",
        "not_finite",
        "short_side",
        "sharp_corner",
        "reversal",
        "corner_not_finite",
        "coincident_points",
    ]: ...
    @property
    def point(self) -> Optional[int]: ...
    @property
    def next_point(self) -> Optional[int]: ...
    @property
    def needed(self) -> float: ...
    @property
    def found(self) -> float: ...
    @property
    def message(self) -> str: ...

class SegmentList(Sequence[Segment]):
    def __len__(self) -> int: ...
    @overload
    def __getitem__(self, index: SupportsIndex) -> Segment: ...
    @overload
    def __getitem__(self, index: slice) -> List[Segment]: ...
    def __iter__(self) -> Iterator[Segment]: ...

class CornerList(Sequence[Corner]):
    def __len__(self) -> int: ...
    @overload
    def __getitem__(self, index: SupportsIndex) -> Corner: ...
    @overload
    def __getitem__(self, index: slice) -> List[Corner]: ...
    def __iter__(self) -> Iterator[Corner]: ...

class Outline:
    @property
    def result(self) -> Result: ...
    @property
    def closed(self) -> bool: ...
    @property
    def segments(self) -> SegmentList: ...
    @property
    def corners(self) -> CornerList: ...
    @property
    def problem(self) -> Optional[Problem]: ...
    def __bool__(self) -> bool: ...

def fillet(
    points: _PointsLike,
    size: _Number = 5.0,
    *,
    closing: _ClosingName = "proximity",
    style: _StyleName = "chord",
) -> Outline: ...
def largest_fillet_size(
    points: _PointsLike,
    *,
    closing: _ClosingName = "proximity",
    limit: Optional[_Number] = None,
    style: _StyleName = "chord",
) -> Optional[float]: ...

class RefusedRun:
    @property
    def first_vertex(self) -> int: ...
    @property
    def last_vertex(self) -> int: ...
    @property
    def problem(self) -> Problem: ...
    @property
    def largest_size(self) -> Optional[float]: ...

class PolylineResult:
    @property
    def vertices(self) -> List[Tuple[float, float, float]]: ...
    @property
    def sources(self) -> List[int]: ...
    @property
    def closed(self) -> bool: ...
    @property
    def corners_filleted(self) -> int: ...
    @property
    def corners_left(self) -> int: ...
    @property
    def earlier_cuts(self) -> int: ...
    @property
    def earlier_cuts_recut(self) -> int: ...
    @property
    def refused_runs(self) -> List[RefusedRun]: ...
    def __bool__(self) -> bool: ...

def fillet_polyline(
    vertices: _VerticesLike, size: _Number, *, closed: bool, style: _StyleName = "chord"
) -> PolylineResult: ...

class DxfResult:
    @property
    def status(self) -> Literal[0, 1, 2]: ...
    @property
    def dxf(self) -> Optional[bytes]: ...
    @property
    def report(self) -> List[Dict[str, Any]]: ...
    @property
    def messages(self) -> str: ...
    def __bool__(self) -> bool: ...

def fillet_dxf(
    data: Union[bytes, bytearray, memoryview],
    size: _Number = 5.0,
    *,
    style: _StyleName = "chord",
    corners: Literal["all", "convex", "concave"] = "all",
    max_angle: Optional[_Number] = None,
    tbone_side: Optional[Literal["longer", "shorter", "first", "second"]] = None,
    close_gap: Optional[_Number] = None,
    join: bool = False,
    join_gap: Optional[_Number] = None,
    refillet: bool = False,
    rechamfer: Optional[_Number] = None,
    refillet_max_radius: Optional[_Number] = None,
    tangent_tolerance: Optional[_Number] = None,
    layer: Optional[str] = None,
    name: str = "<data>",
) -> DxfResult: ...

class PolylinePlan:
    @property
    def considered(self) -> bool: ...
    @property
    def ignored(self) -> Optional[str]: ...
    @property
    def status(self) -> Optional[Literal["filleted", "partly", "unchanged", "skipped"]]: ...
    @property
    def skipped(self) -> Optional[str]: ...
    @property
    def result(self) -> Optional[PolylineResult]: ...
    @property
    def rewritten(self) -> bool: ...
    @property
    def report(self) -> Optional[Dict[str, Any]]: ...
    @property
    def messages(self) -> List[str]: ...

def plan_polyline(
    vertices: Any,
    *,
    entity: Literal["LWPOLYLINE", "POLYLINE"] = "LWPOLYLINE",
    handle: Optional[str] = None,
    layer: str = "0",
    flags: int = 0,
    widths: Optional[Sequence[Tuple[int, _Number]]] = None,
    vertex_flags: Optional[Sequence[int]] = None,
    size: _Number = 5.0,
    style: _StyleName = "chord",
    corners: Literal["all", "convex", "concave"] = "all",
    close_gap: Optional[_Number] = None,
    refillet: bool = False,
    rechamfer: Optional[_Number] = None,
    refillet_max_radius: Optional[_Number] = None,
    tangent_tolerance: Optional[_Number] = None,
) -> PolylinePlan: ...
