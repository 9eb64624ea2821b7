#!/usr/bin/python3
"""End-to-end test of rrensen-dxf against ezdxf, a DXF reader of its own.

For every DXF version ezdxf writes, it draws a file with open and closed
polylines (one open with its ends near each other), polylines with arcs
between straight runs (one run of them too tight to fillet), one too tight
to fillet at all, one on another layer, a 3-D polyline, a LINE and a CIRCLE;
runs rrensen-dxf on it with --report; and checks with ezdxf that the output
passes ezdxf's audit, that each polyline describes the filleted outline
(tangent points on the sides, the size apart, arcs tangent to both sides,
the file's arcs kept to the last bit of their bulge, refused runs as they
were), that the JSON report agrees with the drawing, and that every other
entity's tags are those of the input. (dxf_cli_test.cmake checks the
exit statuses, dxf_join_check.py --join, fillet_dxf_test.cc what standard
error says, --layer, --style and the gaps either side of --close-gap's.)

It also audits the sample picture that dxf::DrawingDxf writes and checks
that its outline's lines and arcs join end to end, and the DXF pictures of
rrensen-view for a drawn and a refused outline.

usage: dxf_roundtrip.py PATH/TO/rrensen-dxf [PATH/TO/picture-sample [PATH/TO/rrensen-view]]
"""

import math
import os
import subprocess
import sys
import tempfile

import ezdxf

from dxf_checks import VERSIONS, add_polyline, check_polyline, corner_counts, polyline_vertices, run_and_read

SIZE = 4.0

# Bulges with every bit in use: a quarter circle, and two odd ones.
QUARTER = math.tan(math.pi / 8)
ODD = 0.123456789012345678
BACK = -0.7071067811865476

# name: (vertices as (x, y, bulge), closed, layer, status at SIZE).
SHAPES = {
    "open": ([(0, 0, 0), (100, 0, 0), (100, 60, 0), (40, 80, 0)], False, "outline", "filleted"),
    "closed": ([(200, 0, 0), (300, 0, 0), (300, 100, 0), (250, 150, 0),
                (200, 100, 0)], True, "outline", "filleted"),
    # Ends 3 apart: open, it stays open.
    "ends_near": ([(400, 0, 0), (500, 0, 0), (500, 100, 0), (400, 100, 0),
                   (400, 3, 0)], False, "outline", "filleted"),
    # A turn of about 5.7 degrees: a chord, not an arc.
    "gentle": ([(0, 600, 0), (100, 600, 0), (200, 610, 0), (200, 700, 0)], False, "outline", "filleted"),
    "clockwise": ([(600, 0, 0), (600, 100, 0), (700, 100, 0), (700, 0, 0)], True, "outline", "filleted"),
    "other_layer": ([(0, 500, 0), (50, 500, 0), (50, 550, 0)], False, "other", "filleted"),
    # A side of 3 is shorter than twice the size.
    "refused": ([(0, 400, 0), (100, 400, 0), (100, 403, 0), (0, 403, 0)], False, "outline", "unchanged"),
    # One arc and one straight piece: no corner to fillet.
    "bulged": ([(0, 200, 0), (100, 200, 0.5), (100, 300, 0)], False, "outline", "filleted"),
    # Runs 0-1-2 and 3-4-5 with an arc between them.
    "arcs_open": ([(0, 800, 0), (100, 800, 0), (100, 850, ODD), (150, 900, 0),
                   (200, 900, 0), (200, 1000, 0)], False, "outline", "filleted"),
    # Closed: the run 3-4-5-0-1-2 wraps round vertex 0.
    "arcs_closed": ([(300, 800, 0), (400, 800, 0), (400, 850, QUARTER),
                     (350, 900, 0), (300, 900, 0), (300, 850, 0)], True, "outline", "filleted"),
    # The run 3-4-5 ends with a side of 2: refused; 0-1-2 is filleted.
    "arcs_partly": ([(600, 800, 0), (700, 800, 0), (700, 850, BACK),
                     (700, 870, 0), (650, 870, 0), (650, 872, 0)], False, "outline", "partly"),
    # A plate with a half-round notch in its lower edge and a rounded upper
    # right corner: its straight runs wrap round vertex 0.
    "plate": ([(0, 1100, 0), (150, 1100, -1.0), (250, 1100, 0), (400, 1100, 0),
               (400, 1250, QUARTER), (300, 1350, 0), (0, 1350, 0)], True, "outline", "filleted"),
}


def check_picture(sample, folder):
    """The picture passes ezdxf's audit, and the ends of its outline's pieces
    pair up: every end meets another piece's end but the outline's two."""
    path = os.path.join(folder, "picture.dxf")
    with open(path, "wb") as f:
        subprocess.run([sample], stdout=f, check=True)
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    errors = ["picture: audit: %s" % e.message for e in auditor.errors]
    ends = {}
    for e in doc.modelspace().query('LINE ARC[layer=="outline"]'):
        if e.dxftype() == "LINE":
            pair = (e.dxf.start, e.dxf.end)
        else:
            pair = (e.start_point, e.end_point)
        for p in pair:
            key = (round(p.x, 6), round(p.y, 6))
            ends[key] = ends.get(key, 0) + 1
    lone = [k for k, n in ends.items() if n != 2]
    if sorted(lone) != [(0.0, 0.0), (0.0, 30.0)]:
        errors.append("picture: the outline does not join up; lone ends %s" % lone)
    if {l.dxf.name for l in doc.layers} < {"points", "outline", "refused"}:
        errors.append("picture: a layer is missing")
    return errors


def check_view(view, folder):
    """rrensen-view's DXF pictures pass ezdxf's audit: a drawn square has its
    four sides and four arcs on layer "outline", a refused outline its short
    side on layer "refused", and each point a POINT and a TEXT label."""
    errors = []
    cases = [("square", b"hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n", "outline", 8),
             ("refused", b"hp1 0 0\r\nhp2 100 0\r\nhp3 100 8\r\n", "refused", 1)]
    for name, exchange, layer, count in cases:
        source = os.path.join(folder, name + ".txt")
        picture = os.path.join(folder, name + ".DXF")
        with open(source, "wb") as f:
            f.write(exchange)
        subprocess.run([view, source, "-o", picture], check=True, stderr=subprocess.DEVNULL)
        doc = ezdxf.readfile(picture)
        errors += ["view %s: audit: %s" % (name, e.message) for e in doc.audit().errors]
        found = len(doc.modelspace().query('*[layer=="%s"]' % layer))
        if found != count:
            errors.append("view %s: %d entities on layer %s, not %d" % (name, found, layer, count))
        for kind in ("POINT", "TEXT"):  # each point and its label
            found = len(doc.modelspace().query('%s[layer=="points"]' % kind))
            if found != exchange.count(b"hp"):
                errors.append("view %s: %d %s entities" % (name, found, kind))
    return errors


def make_input(version, path):
    """Writes the test drawing; returns {shape name: handle}."""
    doc = ezdxf.new(version, setup=True)
    doc.layers.add("outline", color=1)
    doc.layers.add("other", color=2)
    msp = doc.modelspace()
    handles = {}
    attribs = {"layer": "outline", "color": 3, "linetype": "DASHED"}
    for name, (vertices, closed, layer, _) in SHAPES.items():
        e = add_polyline(msp, version, vertices, closed, dict(attribs, layer=layer))
        handles[name] = e.dxf.handle
    handles["line"] = msp.add_line((0, 0), (50, 50)).dxf.handle
    handles["circle"] = msp.add_circle((10, 10), 5).dxf.handle
    handles["3d"] = msp.add_polyline3d([(0, 0, 0), (10, 0, 5), (10, 10, 0)]).dxf.handle
    if version != "R12":
        # The vertex-list form in a file with subclass markers.
        e = msp.add_polyline2d([(800, 0), (900, 0), (900, 80)], dxfattribs=attribs)
        handles["polyline2d"] = e.dxf.handle
    doc.saveas(path)
    return handles


def by_handle(run, where):
    """The run's records by handle, each checked for the entity it names in
    the source: its "0" tag on the line given, its type and handle after."""
    records = {}
    for r in run.records:
        at = r["line"] - 1
        if run.lines[at].strip() != "0" or run.lines[at + 1].strip() != r["type"] or \
           r["kind"] != "polyline":
            run.errors.append("%s: record %s does not name its entity's line" % (where, r))
        records[r["handle"]] = r
    return records


def check_outlines(version, doc, records, handles, shapes, size):
    """Each shape as written, against its input and its report record."""
    errors = []
    for name, (vin, closed, layer, status) in shapes.items():
        entity = doc.entitydb[handles[name]]
        if entity.dxf.layer != layer or entity.dxf.color != 3 or \
           entity.dxf.linetype != "DASHED":
            errors.append("%s: %s lost its layer, colour or line type" % (version, name))
        record = records.get(handles[name])
        if record is None:
            errors.append("%s: %s is not in the report" % (version, name))
            continue
        refused = {run["first_vertex"] - 1 for run in record["refused_runs"]}
        if record["status"] != status or record["layer"] != layer or \
           record["closed"] != closed:
            errors.append("%s: %s reported %s" % (version, name, record))
        counts = corner_counts(vin, closed, refused)
        if (record["corners_filleted"], record["corners_left"]) != counts:
            errors.append("%s: %s corners %s, the drawing has %s" % (
                version, name, (record["corners_filleted"], record["corners_left"]), counts))
        for run in record["refused_runs"]:
            largest = run["largest_size"]
            if largest is not None and largest >= size:
                errors.append("%s: %s: a largest size of %s" % (version, name, largest))
        vout, closed_out = polyline_vertices(entity)
        errors += ["%s: %s" % (version, e) for e in
                   check_polyline(name, vin, closed, vout, closed_out, size, refused)]
    return errors


def check_version(tool, version, folder):
    source = os.path.join(folder, version + ".dxf")
    handles = make_input(version, source)
    # "refused" and "arcs_partly" are reported: exit 1.
    run = run_and_read(tool, source, os.path.join(folder, version + "-out.dxf"), ["-c", str(SIZE)], 1, version)
    if run.doc is None:
        return run.errors
    records = by_handle(run, version)
    shapes = dict(SHAPES)
    if version != "R12":
        shapes["polyline2d"] = ([(800, 0, 0), (900, 0, 0), (900, 80, 0)], False, "outline", "filleted")
    errors = run.errors + check_outlines(version, run.doc, records, handles, shapes, SIZE)
    if handles["3d"] in records or len(records) != len(shapes):
        errors.append("%s: the report has %d records for %d polylines" % (version, len(records), len(shapes)))
    r = records[handles["arcs_partly"]]["refused_runs"]
    if [(x["first_vertex"], x["last_vertex"], x["reason"], x["at_vertex"], x["to_vertex"],
         x["needed"], x["found"], x["largest_size"]) for x in r] != \
       [(4, 6, "short_side", 5, 6, 8.0, 2.0, 1.0)]:
        errors.append("%s: arcs_partly's refused run: %s" % (version, r))
    # Every other entity is the input's, tag for tag.
    for name in ("refused", "bulged", "line", "circle", "3d"):
        if run.old[handles[name]] != run.new[handles[name]]:
            errors.append("%s: %s changed" % (version, name))
    if set(run.old) != set(run.new):
        errors.append("%s: entities appeared or went" % version)

    # --close-gap 3 closes ends_near, its ends exactly 3 apart, dropping its
    # last vertex; "refused" has ends 3 apart too, and is left as it was,
    # open. (fillet_dxf_test.cc checks the gaps either side.)
    where = version + " --close-gap 3"
    run = run_and_read(tool, source, os.path.join(folder, version + "-gap.dxf"),
                       ["-c", str(SIZE), "--close-gap", "3"], 1, where)
    if run.doc is None:
        return errors + run.errors
    records = by_handle(run, where)
    vin, _, layer, _ = SHAPES["ends_near"]
    errors += run.errors + ["--close-gap 3: %s" % e for e in check_outlines(
        version, run.doc, records, handles, {"ends_near": (vin[:-1], True, layer, "filleted")}, SIZE)]
    refused = records[handles["refused"]]
    if (refused["status"], refused["closed"]) != ("unchanged", False):
        errors.append("%s: refused became %s" % (where, refused))
    return errors


def main():
    if len(sys.argv) not in (2, 3, 4):
        sys.exit(__doc__)
    tool = sys.argv[1]
    errors = []
    with tempfile.TemporaryDirectory() as folder:
        for version in VERSIONS:
            errors += check_version(tool, version, folder)
        if len(sys.argv) >= 3:
            errors += check_picture(sys.argv[2], folder)
        if len(sys.argv) == 4:
            errors += check_view(sys.argv[3], folder)
    for e in errors:
        print("FAIL", e)
    checks = len(VERSIONS) + len(sys.argv) - 2
    print("%d passed, %d failed" % (checks if not errors else 0, checks if errors else 0))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
