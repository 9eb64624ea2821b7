"""rrensen.ezdxf: polylines filleted in place through ezdxf. The script of
docs/python.md, run on drawings, writes the polylines rrensen-dxf writes
(vertices and bulges to the bit: both write the shortest text that reads
back), and ezdxf's audit finds nothing wrong with the result."""

import re
import subprocess
import sys

import pytest

ezdxf = pytest.importorskip("ezdxf")
import rrensen.ezdxf  # noqa: E402
from shapes import ROOT  # noqa: E402


def doc_script():
    text = (ROOT / "docs" / "python.md").read_text()
    section = text[text.index("## rrensen.ezdxf"):]
    return re.search(r"```python\n(.*?)```", section, re.S).group(1)


def mixed_drawing(path):
    """Every kind of polyline: a closed and an open LWPOLYLINE with an arc,
    2-D POLYLINEs, one with a side too short, one with widths, a 3-D one."""
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0), (100, 0, 0), (100, 50, 0.4142135623730951), (50, 100, 0), (0, 100, 0)],
                       format="xyb", close=True, dxfattribs={"layer": "outline", "color": 3})
    msp.add_lwpolyline([(200, 0), (300, 0), (300, 60), (400, 60)])
    msp.add_polyline2d([(0, 200), (100, 200), (100, 300), (0, 300)], close=True, dxfattribs={"layer": "two"})
    msp.add_polyline2d([(200, 200), (300, 200), (300, 203)])
    msp.add_lwpolyline([(0, 400, 1, 1), (100, 400, 1, 1), (100, 500, 1, 1)], format="xyse")
    msp.add_polyline3d([(0, 0, 0), (10, 0, 5), (10, 10, 5)])
    doc.saveas(path)
    return path


def polylines(path):
    """handle -> (type, closed, [(x, y, bulge)]) of a saved drawing's 2-D
    polylines."""
    doc = ezdxf.readfile(path)
    found = {}
    for entity in doc.modelspace().query("LWPOLYLINE POLYLINE"):
        if entity.dxftype() == "LWPOLYLINE":
            found[entity.dxf.handle] = ("LWPOLYLINE", bool(entity.closed),
                                        [tuple(v) for v in entity.get_points("xyb")])
        elif entity.is_2d_polyline:
            found[entity.dxf.handle] = ("POLYLINE", bool(entity.is_closed),
                                        [(v.dxf.location[0], v.dxf.location[1], v.dxf.bulge)
                                         for v in entity.vertices])
    return found


@pytest.mark.parametrize("source", ["bracket.dxf", "plate.dxf", "mixed"])
def test_the_docs_script_writes_the_polylines_rrensen_dxf_writes(dxf_cli, tmp_path, source):
    given = mixed_drawing(tmp_path / "mixed.dxf") if source == "mixed" else ROOT / "examples" / source
    script = tmp_path / "fillet_drawing.py"
    script.write_text(doc_script())
    ours = tmp_path / "ours.dxf"
    done = subprocess.run([sys.executable, str(script), str(given), str(ours)], capture_output=True, text=True,
                          check=False)
    assert done.returncode == 0, done.stderr
    theirs = tmp_path / "theirs.dxf"
    subprocess.run([dxf_cli, "-c", "5", "-o", str(theirs), str(given)], capture_output=True, check=False)
    mine, reference = polylines(ours), polylines(theirs)
    assert mine.keys() == reference.keys()
    for handle, (kind, closed, vertices) in reference.items():
        assert mine[handle][:2] == (kind, closed), handle
        # rrensen-dxf writes the shortest text that reads back, ezdxf
        # Python's repr: the doubles read back are the same, to the bit.
        assert mine[handle][2] == vertices, handle
    auditor = ezdxf.readfile(ours).audit()
    assert not auditor.has_errors, [str(e) for e in auditor.errors]


def test_attributes_stay_and_what_cannot_be_filleted_is_left(tmp_path):
    doc = ezdxf.readfile(mixed_drawing(tmp_path / "mixed.dxf"))
    msp = doc.modelspace()
    before = {e.dxf.handle: list(e.get_points("xyb")) if e.dxftype() == "LWPOLYLINE" else None for e in msp}
    results = rrensen.ezdxf.fillet_all(msp, 5.0)
    by_type = [(r.entity.dxftype(), r.skipped, bool(r)) for r in results]
    assert by_type == [("LWPOLYLINE", None, True), ("LWPOLYLINE", None, True), ("POLYLINE", None, True),
                       ("POLYLINE", None, False), ("LWPOLYLINE", "widths", False)]
    plate = results[0].entity
    assert plate.dxf.layer == "outline" and plate.dxf.color == 3 and plate.closed
    assert len(plate) == len(results[0].vertices) > 5
    widths = results[4]
    assert widths.vertices == [] and list(widths.entity.get_points("xyb")) == before[widths.entity.dxf.handle]
    refused = results[3]
    assert refused.refused_runs[0].problem.kind == "short_side" and len(refused.entity.vertices) == 3
    three_d = next(e for e in msp if e.dxftype() == "POLYLINE" and e.is_3d_polyline)
    assert rrensen.ezdxf.fillet(three_d, 5.0).skipped == "not_2d"
    assert rrensen.ezdxf.fillet(msp.add_line((0, 0), (1, 1)), 5.0).skipped == "not_a_polyline"
    assert "skipped: widths" in repr(widths)


def test_close_gap_closes_an_open_polyline_whose_ends_meet():
    doc = ezdxf.new()
    entity = doc.modelspace().add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100), (0, 0.1)])
    result = rrensen.ezdxf.fillet(entity, 5.0, close_gap=0.5, style="radius")
    assert result and result.closed and entity.closed and len(entity) == 8


def test_refillet_recuts_an_entity_filleted_before():
    sharp = [(0, 0), (100, 0), (100, 60), (40, 60), (40, 100), (0, 100)]
    entity = ezdxf.new().modelspace().add_lwpolyline(sharp, close=True)
    rrensen.ezdxf.fillet(entity, 5.0, style="radius")
    result = rrensen.ezdxf.fillet(entity, 0.0, refillet=True)
    assert result and result.result.earlier_cuts == 6
    assert [c for p in entity.get_points("xy") for c in p] == pytest.approx([c for p in sharp for c in p], abs=1e-9)
