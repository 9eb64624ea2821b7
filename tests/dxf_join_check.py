#!/usr/bin/python3
"""Checks the polylines that joining LINE and ARC entities makes, with ezdxf,
a DXF reader of its own.

For R12 and several later DXF versions it draws, with ezdxf, outlines made
of lines and arcs (one closed, one open with pieces drawn backwards) and
pieces that must stay as they are: three lines meeting at one point, a line
alone, pieces on another layer or of another colour touching the outline,
an arc drawn with extrusion (0, 0, -1), a line with a thickness and, from
R2000 on, a line in paper space. It joins the file with `rrensen-dxf --join
-c 0` (size 0 cuts no corner: the chains are written as they run) and
checks that ezdxf's audit finds no error, that each outline became one
polyline of the right form whose pieces (ezdxf's virtual entities) are the
lines and arcs it replaced, with their layer, colour and line type, that
every other entity is still there with its handle, and that handles are
unique and below $HANDSEED.

usage: dxf_join_check.py PATH/TO/rrensen-dxf
"""

import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf

from dxf_checks import written_errors

# The pieces' ends are computed from the written numbers, both here and by
# ezdxf from the polylines' bulges.
TOLERANCE = 1e-9
VERSIONS = ["R12", "R2000", "R2004", "R2010", "R2018"]
ATTRIBS = {"layer": "outline", "color": 1, "linetype": "DASHED"}


def closed_outline(msp):
    """A slot: two lines and two half circles, the lower line drawn
    backwards, the pieces not in the order of the outline."""
    return [
        msp.add_line((100, 0), (0, 0), dxfattribs=ATTRIBS),
        msp.add_line((0, 20), (100, 20), dxfattribs=ATTRIBS),
        msp.add_arc((100, 10), 10, 270, 90, dxfattribs=ATTRIBS),
        msp.add_arc((0, 10), 10, 90, 270, dxfattribs=ATTRIBS),
    ]


def open_outline(msp):
    """A line, a quarter arc turning left, a line drawn backwards, an arc
    run clockwise (drawn counter-clockwise the other way) and a last line."""
    c = math.cos(math.radians(30))
    s = math.sin(math.radians(30))
    return [
        msp.add_line((0, 100), (50, 100), dxfattribs=ATTRIBS),
        msp.add_arc((50, 110), 10, 270, 0, dxfattribs=ATTRIBS),
        msp.add_line((60, 150), (60, 110), dxfattribs=ATTRIBS),
        # From (60, 150) clockwise over the top to (60 + 20 (1 - c) ...):
        # centre (80, 150), radius 20, from 180 down to 30 degrees.
        msp.add_arc((80, 150), 20, 30, 180, dxfattribs=ATTRIBS),
        msp.add_line((80 + 20 * c, 150 + 20 * s), (120, 200), dxfattribs=ATTRIBS),
    ]


def make_input(version, path):
    """Writes the drawing; returns (outlines, kept) where outlines are the
    lists of pieces that must become one polyline each, kept the handles
    that must stay."""
    doc = ezdxf.new(version, setup=True)
    doc.layers.add("outline", color=1)
    doc.layers.add("other", color=2)
    msp = doc.modelspace()
    outlines = [closed_outline(msp), open_outline(msp)]
    kept = [
        # Three ends meet at (300, 0): no chain there.
        msp.add_line((200, 0), (300, 0), dxfattribs=ATTRIBS),
        msp.add_line((300, 0), (400, 0), dxfattribs=ATTRIBS),
        msp.add_line((300, 0), (300, 50), dxfattribs=ATTRIBS),
        msp.add_line((500, 0), (600, 0), dxfattribs=ATTRIBS),
        # Touching the outlines, but on another layer or of another colour.
        msp.add_line((0, 0), (-50, -50), dxfattribs=dict(ATTRIBS, layer="other")),
        msp.add_line((0, 100), (-50, 100), dxfattribs=dict(ATTRIBS, color=2)),
        # An arc seen from below, and a line with a thickness.
        msp.add_arc((-100, 10), 10, 0, 90,
                    dxfattribs=dict(ATTRIBS, extrusion=(0, 0, -1))),
        msp.add_line((120, 200), (150, 250), dxfattribs=dict(ATTRIBS, thickness=5)),
        msp.add_circle((10, 10), 5, dxfattribs=ATTRIBS),
    ]
    if version != "R12":
        paper = doc.layout("Layout1")
        kept.append(paper.add_line((100, 20), (150, 20), dxfattribs=ATTRIBS))
    doc.saveas(path)
    return ([[e.dxf.handle for e in o] for o in outlines],
            [e.dxf.handle for e in kept])


def segment_of(entity):
    """A LINE or ARC as a comparable shape: ("line", {end, end}) or ("arc",
    centre, radius, start point, end point) of its counter-clockwise run."""
    if entity.dxftype() == "LINE":
        return ("line", entity.dxf.start, entity.dxf.end)
    return ("arc", entity.dxf.center, entity.dxf.radius,
            entity.start_point, entity.end_point)


def close(a, b):
    return (a - b).magnitude <= TOLERANCE


def same_segment(a, b):
    if a[0] != b[0]:
        return False
    if a[0] == "line":
        return (close(a[1], b[1]) and close(a[2], b[2])) or \
               (close(a[1], b[2]) and close(a[2], b[1]))
    return close(a[1], b[1]) and abs(a[2] - b[2]) <= TOLERANCE and \
        close(a[3], b[3]) and close(a[4], b[4])


def check_version(tool, version, folder):
    source = os.path.join(folder, version + ".dxf")
    target = os.path.join(folder, version + "-joined.dxf")
    outlines, kept = make_input(version, source)
    run = subprocess.run([tool, "--join", "-c", "0", source, "-o", target],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return ["%s: exit %d: %s" % (version, run.returncode, run.stderr)]
    errors = []
    said = re.search(r"; (\d+) polylines made of (\d+) lines and (\d+) arcs", run.stderr)
    pieces = sum(len(o) for o in outlines)
    if not said or (int(said[1]), int(said[2]) + int(said[3])) != (len(outlines), pieces):
        errors.append("%s: rrensen-dxf said %r" % (version, run.stderr))

    before = ezdxf.readfile(source)
    doc = ezdxf.readfile(target)
    errors += written_errors(doc, target, version)
    form = "POLYLINE" if version == "R12" else "LWPOLYLINE"
    polylines = list(doc.modelspace().query(form))
    if len(polylines) != len(outlines):
        return errors + ["%s: %d %s entities, not %d" % (version, len(polylines), form,
                                                         len(outlines))]
    for polyline, handles, closed in zip(polylines, outlines, (True, False)):
        name = "%s %s outline" % (version, "closed" if closed else "open")
        if polyline.is_closed != closed:
            errors.append("%s: closed is %s" % (name, polyline.is_closed))
        if (polyline.dxf.layer, polyline.dxf.color, polyline.dxf.linetype) != \
           (ATTRIBS["layer"], ATTRIBS["color"], ATTRIBS["linetype"]):
            errors.append("%s: lost its layer, colour or line type" % name)
        made = [segment_of(e) for e in polyline.virtual_entities()]
        wanted = [segment_of(before.entitydb[h]) for h in handles]
        if len(made) != len(wanted) or \
           not all(any(same_segment(w, m) for m in made) for w in wanted):
            errors.append("%s: its pieces are %s, not %s" % (name, made, wanted))
        if any(h in doc.entitydb for h in handles):
            errors.append("%s: a joined piece is still there" % name)
    for handle in kept:
        old = before.entitydb[handle]
        new = doc.entitydb.get(handle)
        if new is None or new.dxftype() != old.dxftype() or \
           new.dxf.layer != old.dxf.layer:
            errors.append("%s: entity %s (%s) changed or went" % (version, handle,
                                                                  old.dxftype()))
    return errors


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    errors = []
    with tempfile.TemporaryDirectory() as folder:
        for version in VERSIONS:
            errors += check_version(sys.argv[1], version, folder)
    for e in errors:
        print(e)
    checks = len(VERSIONS)
    failed = len({e.split(":")[0].split(" ")[0] for e in errors})
    print("%d passed, %d failed" % (checks - failed, failed))
    sys.exit(1 if errors else 0)


if __name__ == "__main__":
    main()
