"""Filleting ezdxf's polylines in place: rrensen.fillet_polyline applied to
LWPOLYLINE and 2-D POLYLINE entities as rrensen-dxf applies it to a file.

Imported only as `import rrensen.ezdxf` (it needs ezdxf; rrensen does not).

    import ezdxf
    import rrensen.ezdxf

    doc = ezdxf.readfile("in.dxf")
    for result in rrensen.ezdxf.fillet_all(doc.modelspace(), 5.0):
        print(result)
    doc.saveas("out.dxf")
"""

import math
from typing import Any, List, Optional

from . import _core

__all__ = ["EntityResult", "fillet", "fillet_all"]

# POLYLINE flags (group code 70): curve-fit and spline-fit vertices added,
# a 3-D polyline, a polygon mesh, a polyface mesh.
_CURVE_FIT = 2
_SPLINE_FIT = 4
_NOT_2D = 8 | 16 | 64
# VERTEX flags: made by curve fitting, a spline vertex, a spline frame point.
_FIT_VERTEX = 1 | 8 | 16


class EntityResult:
    """What became of one polyline entity: a rrensen.PolylineResult's
    values, or, for an entity left as it is, `skipped`, the reason ("widths",
    "curve_fit", "not_2d", "not_a_polyline"). True when the entity was
    filleted whole."""

    def __init__(self, entity: Any, result: Optional[_core.PolylineResult], skipped: Optional[str] = None):
        self.entity = entity
        self.result = result
        self.skipped = skipped

    @property
    def vertices(self):
        return self.result.vertices if self.result is not None else []

    @property
    def closed(self) -> bool:
        return self.result.closed if self.result is not None else False

    @property
    def corners_filleted(self) -> int:
        return self.result.corners_filleted if self.result is not None else 0

    @property
    def corners_left(self) -> int:
        return self.result.corners_left if self.result is not None else 0

    @property
    def refused_runs(self):
        return self.result.refused_runs if self.result is not None else []

    def __bool__(self) -> bool:
        return self.skipped is None and bool(self.result)

    def __repr__(self) -> str:
        name = f"{self.entity.dxftype()} {self.entity.dxf.get('handle', '?')}"
        if self.skipped is not None:
            return f"<EntityResult {name} skipped: {self.skipped}>"
        return f"<EntityResult {name} {repr(self.result)[1:]}"


def _skip_reason(entity: Any) -> Optional[str]:
    kind = entity.dxftype()
    if kind == "LWPOLYLINE":
        if entity.dxf.get("const_width", 0.0) != 0.0:
            return "widths"
        if any(start != 0.0 or end != 0.0 for _, _, start, end in entity.get_points("xyse")):
            return "widths"
        return None
    if kind != "POLYLINE":
        return "not_a_polyline"
    flags = entity.dxf.get("flags", 0)
    if flags & _NOT_2D:
        return "not_2d"
    if flags & (_CURVE_FIT | _SPLINE_FIT) or any(v.dxf.get("flags", 0) & _FIT_VERTEX for v in entity.vertices):
        return "curve_fit"
    widths = [entity.dxf.get("default_start_width", 0.0), entity.dxf.get("default_end_width", 0.0)]
    for vertex in entity.vertices:
        widths += [vertex.dxf.get("start_width", 0.0), vertex.dxf.get("end_width", 0.0)]
    if any(w != 0.0 for w in widths):
        return "widths"
    return None


def _vertices(entity: Any):
    if entity.dxftype() == "LWPOLYLINE":
        return [tuple(v) for v in entity.get_points("xyb")], bool(entity.closed)
    return ([(v.dxf.location[0], v.dxf.location[1], v.dxf.get("bulge", 0.0)) for v in entity.vertices],
            bool(entity.is_closed))


def _write(entity: Any, vertices, closed: bool) -> None:
    if entity.dxftype() == "LWPOLYLINE":
        entity.set_points(vertices, format="xyb")
        entity.closed = closed
        return
    # The old VERTEX entities go from the drawing's database with the list.
    old = list(entity.vertices)
    entity.vertices.clear()
    for vertex in old:
        if entity.doc is not None:
            entity.doc.entitydb.delete_entity(vertex)
        else:
            vertex.destroy()
    entity.append_formatted_vertices(vertices, format="xyb")
    entity.close(closed)


def fillet(entity: Any, size: float, *, close_gap: Optional[float] = None, style: str = "chord") -> EntityResult:
    """Fillets one LWPOLYLINE or 2-D POLYLINE in place, as rrensen-dxf
    does: its vertices, bulges and closed flag change; its handle, layer and
    other attributes stay. A polyline with widths, a curve- or spline-fit
    one, a 3-D polyline or a mesh is left as it is and the result says so
    (`skipped`); so is any other entity. A polyline none of whose runs
    could be filleted is left as it is too; the result says why.

    close_gap: None to leave open polylines open, else the largest distance
    between the ends of an open one (of three vertices or more) that closes
    it; its last vertex is then dropped."""
    reason = _skip_reason(entity)
    if reason is not None:
        return EntityResult(entity, None, reason)
    original, closed = _vertices(entity)
    vertices = original
    was_closed = closed
    if (not closed and close_gap is not None and len(vertices) >= 3
            and math.hypot(vertices[-1][0] - vertices[0][0], vertices[-1][1] - vertices[0][1]) <= close_gap):
        vertices = vertices[:-1]
        closed = True
    result = _core.fillet_polyline(vertices, size, closed=closed, style=style)
    # As rrensen-dxf: an entity none of whose runs was filleted, or whose
    # vertices all came through as they were, is not rewritten.
    unchanged = bool(result.refused_runs) and result.corners_filleted == 0
    same = (result.closed == was_closed and len(result.sources) == len(original)
            and result.sources == list(range(len(original))))
    if not unchanged and not same:
        _write(entity, result.vertices, result.closed)
    return EntityResult(entity, result)


def fillet_all(layout: Any, size: float, **options: Any) -> List[EntityResult]:
    """Fillets every LWPOLYLINE and 2-D POLYLINE of `layout` (a modelspace,
    a paperspace or a block) with fillet(entity, size, **options); 3-D
    polylines and meshes are passed over. The results in the layout's
    order."""
    results = []
    for entity in list(layout.query("LWPOLYLINE POLYLINE")):
        if entity.dxftype() == "POLYLINE" and entity.dxf.get("flags", 0) & _NOT_2D:
            continue
        results.append(fillet(entity, size, **options))
    return results
