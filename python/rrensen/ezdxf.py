"""Filleting ezdxf's polylines in place, as rrensen-dxf fillets them in a
file: each LWPOLYLINE or 2-D POLYLINE entity's vertices, flags and widths
are handed to rrensen.plan_polyline, which decides what becomes of it, and
the entity is rewritten when the plan says so.

Imported only as `import rrensen.ezdxf` (it needs ezdxf; rrensen does not).

    import ezdxf
    import rrensen.ezdxf

    doc = ezdxf.readfile("in.dxf")
    for result in rrensen.ezdxf.fillet_all(doc.modelspace(), 5.0):
        print(result)
    doc.saveas("out.dxf")
"""

from typing import Any, List, Optional

from . import _core

__all__ = ["EntityResult", "fillet", "fillet_all"]


class EntityResult:
    """What became of one polyline entity: a rrensen.PolylineResult's
    values, or, for an entity left as it is, `skipped`, the reason
    ("widths", "curve_fit", "too_many_vertices", "not_2d",
    "not_a_polyline"). True when the entity was filleted whole."""

    def __init__(self, entity: Any, plan: Optional[_core.PolylinePlan], skipped: Optional[str] = None):
        self.entity = entity
        self.plan = plan
        self.result = plan.result if plan is not None else None
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


def _facts(entity: Any) -> dict:
    """What rrensen.plan_polyline reads of an entity: its vertices, flags
    and widths, as the file holds them."""
    flags = entity.dxf.get("flags", 0)
    identity = dict(handle=entity.dxf.get("handle"), layer=entity.dxf.get("layer", "0"))
    if entity.dxftype() == "LWPOLYLINE":
        points = list(entity.get_points("xyseb"))
        widths = [pair for _, _, start, end, _ in points for pair in ((40, start), (41, end))]
        return dict(vertices=[(x, y, b) for x, y, _, _, b in points], entity="LWPOLYLINE",
                    flags=flags, widths=widths, **identity)
    vertices = list(entity.vertices)
    widths = [(40, entity.dxf.get("default_start_width", 0.0)),
              (41, entity.dxf.get("default_end_width", 0.0))]
    for vertex in vertices:
        widths += [(40, vertex.dxf.get("start_width", 0.0)), (41, vertex.dxf.get("end_width", 0.0))]
    return dict(vertices=[(v.dxf.location[0], v.dxf.location[1], v.dxf.get("bulge", 0.0)) for v in vertices],
                entity="POLYLINE", flags=flags, widths=widths,
                vertex_flags=[v.dxf.get("flags", 0) for v in vertices], **identity)


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


def fillet(entity: Any, size: float, *, close_gap: Optional[float] = None, style: str = "chord",
           refillet: bool = False, rechamfer: Optional[float] = None,
           refillet_max_radius: Optional[float] = None,
           tangent_tolerance: Optional[float] = None) -> EntityResult:
    """Fillets one LWPOLYLINE or 2-D POLYLINE in place, as rrensen-dxf
    does: its vertices, bulges and closed flag change; its handle, layer and
    other attributes stay. A polyline rrensen-dxf skips (widths, curve
    fitting), a 3-D polyline or a mesh is left as it is and the result says
    so (`skipped`); so is any other entity. A polyline none of whose runs
    could be filleted is left as it is too; the result says why.

    close_gap: None to leave open polylines open, else the largest distance
    between the ends of an open one (of three vertices or more) that closes
    it; its last vertex is then dropped.

    refillet: re-cut corners cut before, as rrensen-dxf --refillet does:
    each arc tangent to the straight pieces on both sides becomes its sharp
    corner again and is cut at `size` (0 leaves it sharp); rechamfer,
    refillet_max_radius and tangent_tolerance as --rechamfer,
    --refillet-max-radius and --tangent-tolerance."""
    if entity.dxftype() not in ("LWPOLYLINE", "POLYLINE"):
        return EntityResult(entity, None, "not_a_polyline")
    plan = _core.plan_polyline(**_facts(entity), size=size, style=style, close_gap=close_gap,
                               refillet=refillet, rechamfer=rechamfer,
                               refillet_max_radius=refillet_max_radius,
                               tangent_tolerance=tangent_tolerance)
    if not plan.considered:
        return EntityResult(entity, None, plan.ignored)
    if plan.skipped is not None:
        return EntityResult(entity, None, plan.skipped)
    if plan.rewritten:
        _write(entity, plan.result.vertices, plan.result.closed)
    return EntityResult(entity, plan)


def fillet_all(layout: Any, size: float, **options: Any) -> List[EntityResult]:
    """Fillets every LWPOLYLINE and 2-D POLYLINE of `layout` (a modelspace,
    a paperspace or a block) with fillet(entity, size, **options); the
    polylines rrensen-dxf passes over (3-D polylines and meshes) are passed
    over here too. The results in the layout's order."""
    results = []
    for entity in list(layout.query("LWPOLYLINE POLYLINE")):
        result = fillet(entity, size, **options)
        if result.skipped != "not_2d":
            results.append(result)
    return results
