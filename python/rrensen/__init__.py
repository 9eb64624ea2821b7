"""rrensen: chord-length filleting of polylines.

Every corner of a polyline is cut back so that its two cut points lie the
fillet size apart, and the cut is the arc tangent to both sides, or a
straight chord where the direction changes by 10 degrees or less.

>>> import rrensen
>>> outline = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0)
>>> outline
<Outline drawn, open, 3 segments>
>>> [segment.is_arc for segment in outline.segments]
[False, True, False]

The work is done by the project's C++ library, compiled into the module
rrensen._core; docs/python.md in the source tree describes the calls.
"""

from collections.abc import Sequence as _Sequence

from ._core import (
    Corner,
    CornerList,
    DxfResult,
    Outline,
    PolylinePlan,
    PolylineResult,
    Problem,
    RefusedRun,
    Result,
    Segment,
    SegmentList,
    __version__,
    fillet,
    fillet_dxf,
    fillet_polyline,
    largest_fillet_size,
    plan_polyline,
)


_Sequence.register(SegmentList)
_Sequence.register(CornerList)

__all__ = [
    "Corner",
    "CornerList",
    "DxfResult",
    "Outline",
    "PolylinePlan",
    "PolylineResult",
    "Problem",
    "RefusedRun",
    "Result",
    "Segment",
    "SegmentList",
    "__version__",
    "fillet",
    "fillet_dxf",
    "fillet_polyline",
    "largest_fillet_size",
    "plan_polyline",
]
