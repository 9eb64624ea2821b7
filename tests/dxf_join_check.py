#!/usr/bin/python3
"""Checks what joining LINE and ARC entities makes, with ezdxf, a DXF reader
of its own, for every DXF version ezdxf writes: outlines of lines and arcs
(CHAINS: drawn out of order, backwards, clockwise; one too narrow to fillet)
among pieces that must stay (lines that branch, a lone line, pieces of
another layer or colour or with an extrusion or thickness touching them, a
circle, a polyline, a line in paper space).

`rrensen-dxf --join -c 0` (size 0 cuts no corner) must make each outline
one polyline of the version's form whose pieces (ezdxf's virtual entities)
are the ones it replaced, starting where its first piece starts, with their
layer, colour and line type. `--join -c SIZE` must fillet each of those
polylines but the narrow strip, left as its pieces. Each run reports one
record per chain naming its pieces; ezdxf's audit finds no error, the
pieces joined are gone, everything else is there tag for tag, and handles
are unique and below $HANDSEED.

usage: dxf_join_check.py PATH/TO/rrensen-dxf
"""

import math
import os
import sys
import tempfile

import ezdxf

from dxf_checks import VERSIONS, add_polyline, check_polyline, corner_counts, polyline_vertices, run_and_read

# The pieces' ends are computed from the written numbers, both here and by
# ezdxf from the polylines' bulges.
TOLERANCE = 1e-9
SIZE = 4.0
ATTRIBS = {"layer": "outline", "color": 1, "linetype": "DASHED"}
# The chains' pieces also have a true colour and a colour name (420, 430),
# in the versions that have them.
COLOURS = {"true_color": 0xFF8000, "color_name": "RAL 2004"}


def colours(version):
    return {} if version in ("R12", "R2000") else COLOURS
C30, S30 = math.cos(math.radians(30)), math.sin(math.radians(30))
# name: (closed, status at SIZE, the pieces in file order: ("line", start,
# end) or ("arc", centre, radius, from, to)).
CHAINS = {
    "slot": (True, "filleted", [("line", (100, 0), (0, 0)), ("line", (0, 20), (100, 20)),
                                ("arc", (100, 10), 10, 270, 90), ("arc", (0, 10), 10, 90, 270)]),
    # A line, a quarter arc turning left, a line drawn backwards, an arc run
    # clockwise (drawn counter-clockwise the other way) and a last line.
    "open": (False, "filleted", [("line", (0, 100), (50, 100)), ("arc", (50, 110), 10, 270, 0),
                                 ("line", (60, 150), (60, 110)), ("arc", (80, 150), 20, 30, 180),
                                 ("line", (80 + 20 * C30, 150 + 20 * S30), (120, 200))]),
    "plate": (True, "filleted", [("line", (0, 1000), (200, 1000)), ("line", (200, 1100), (120, 1100)),
                                 ("line", (200, 1000), (200, 1100)), ("arc", (100, 1100), 20, 0, 180),
                                 ("line", (80, 1100), (0, 1100)), ("line", (0, 1000), (0, 1100))]),
    "corner": (False, "filleted", [("line", (300, 1000), (400, 1000)), ("line", (400, 1000), (400, 1080)),
                                   ("arc", (380, 1080), 20, 0, 90), ("line", (300, 1100), (380, 1100))]),
    "strip": (False, "unchanged", [("line", (800, 1000), (800, 1050)), ("line", (800, 1050), (803, 1050)),
                                   ("line", (803, 1050), (803, 1000))]),
}


def add_piece(msp, piece, attribs=ATTRIBS):
    if piece[0] == "line":
        return msp.add_line(piece[1], piece[2], dxfattribs=attribs)
    return msp.add_arc(*piece[1:], dxfattribs=attribs)


def make_input(version, path):
    """Writes the drawing; returns ({chain name: handles of its pieces},
    handles of what must stay, the polyline's handle)."""
    doc = ezdxf.new(version, setup=True)
    doc.layers.add("outline", color=1)
    doc.layers.add("other", color=2)
    msp = doc.modelspace()
    chains = {name: [add_piece(msp, p, dict(ATTRIBS, **colours(version))).dxf.handle for p in pieces]
              for name, (_, _, pieces) in CHAINS.items()}
    kept = [
        # Three ends meet at (300, 0): no chain there.
        add_piece(msp, ("line", (200, 0), (300, 0))), add_piece(msp, ("line", (300, 0), (400, 0))),
        add_piece(msp, ("line", (300, 0), (300, 50))), add_piece(msp, ("line", (500, 0), (600, 0))),
        # Touching the outlines, but on another layer or of another colour.
        add_piece(msp, ("line", (0, 0), (-50, -50)), dict(ATTRIBS, layer="other")),
        add_piece(msp, ("line", (0, 100), (-50, 100)), dict(ATTRIBS, color=2)),
        # An arc seen from below, and a line with a thickness.
        add_piece(msp, ("arc", (-100, 10), 10, 0, 90), dict(ATTRIBS, extrusion=(0, 0, -1))),
        add_piece(msp, ("line", (120, 200), (150, 250)), dict(ATTRIBS, thickness=5)),
        msp.add_circle((10, 10), 5, dxfattribs=ATTRIBS),
    ]
    square = add_polyline(msp, version, [(0, 1300, 0), (100, 1300, 0), (100, 1400, 0)], False, ATTRIBS)
    if version != "R12":
        kept.append(doc.layout("Layout1").add_line((100, 20), (150, 20), dxfattribs=ATTRIBS))
    doc.saveas(path)
    return chains, [e.dxf.handle for e in kept], square.dxf.handle


def segment_of(entity):
    """A LINE or ARC as a comparable shape: ("line", {end, end}) or ("arc",
    centre, radius, start point, end point) of its counter-clockwise run."""
    if entity.dxftype() == "LINE":
        return ("line", entity.dxf.start, entity.dxf.end)
    return ("arc", entity.dxf.center, entity.dxf.radius, entity.start_point, entity.end_point)


def close(a, b):
    return (a - b).magnitude <= TOLERANCE


def same_segment(a, b):
    if a[0] != b[0]:
        return False
    if a[0] == "line":
        return (close(a[1], b[1]) and close(a[2], b[2])) or (close(a[1], b[2]) and close(a[2], b[1]))
    return close(a[1], b[1]) and abs(a[2] - b[2]) <= TOLERANCE and close(a[3], b[3]) and close(a[4], b[4])


def run_join(tool, version, folder, size, source, given, chains, kept, square):
    """Runs --join -c SIZE with a report on `source` (`given`, as ezdxf
    reads it); checks what every run must do and returns (errors, the
    drawing written, {chain name: its record})."""
    where = "%s -c %g" % (version, size)
    target = os.path.join(folder, "%s-%g-joined.dxf" % (version, size))
    # The strip is left at SIZE: exit 1.
    run = run_and_read(tool, source, target, ["--join", "-c", str(size)], 1 if size else 0, where)
    if run.doc is None:
        return run.errors, None, {}
    doc, errors, records, lines = run.doc, run.errors, run.records, run.lines
    form = "POLYLINE" if version == "R12" else "LWPOLYLINE"
    by_chain = {}
    for record in records:
        if record["kind"] != "chain":
            continue
        parts = [p["handle"] for p in record["parts"]]
        name = next((n for n, h in chains.items() if h[0] == parts[0]), None)
        # Its pieces in the order the chain runs, the first one's line.
        # (lines[n] is the line after line n, counted from 1: the type.)
        first = record["parts"][0]
        if name is None or name in by_chain or sorted(parts) != sorted(chains[name]) or \
           [p["type"] for p in record["parts"]] != [given.entitydb[h].dxftype() for h in parts] or \
           record["type"] != form or record["layer"] != "outline" or record["closed"] != CHAINS[name][0] or \
           record["line"] != first["line"] or lines[first["line"]].strip() != first["type"]:
            errors.append("%s: chain record %s" % (where, record))
            continue
        by_chain[name] = record
    if set(by_chain) != set(CHAINS) or len(records) != len(CHAINS) + 1:
        errors.append("%s: %d records, chains %s" % (where, len(records), sorted(by_chain)))
    # The chains' polylines and the polyline that was there are all there
    # is of the form; the pieces joined are gone; the rest is as it was.
    made = {r["handle"] for r in by_chain.values() if r["handle"]}
    found = {e.dxf.handle for e in doc.modelspace().query(form)}
    if found != made | {square}:
        errors.append("%s: %s entities %s, expected %s" % (where, form, found, made | {square}))
    for name, record in by_chain.items():
        if (record["handle"] is None) != any(h in run.new for h in chains[name]):
            errors.append("%s: %s is both joined and there, or neither" % (where, name))
    for h in kept + [h for name, r in by_chain.items() if r["handle"] is None for h in chains[name]]:
        if run.old[h] != run.new.get(h):
            errors.append("%s: %s changed or went" % (where, h))
    return errors, doc, by_chain


def check_version(tool, version, folder):
    source = os.path.join(folder, version + ".dxf")
    chains, kept, square = make_input(version, source)
    given = ezdxf.readfile(source)
    errors, doc, records = run_join(tool, version, folder, 0, source, given, chains, kept, square)
    chain_vertices = {}
    for name, record in records.items():
        where = "%s -c 0 %s" % (version, name)
        polyline = doc.entitydb.get(record["handle"])
        if record["status"] != "filleted" or polyline is None:
            errors.append("%s: %s" % (where, record))
            continue
        if (polyline.dxf.layer, polyline.dxf.color, polyline.dxf.linetype) != \
           (ATTRIBS["layer"], ATTRIBS["color"], ATTRIBS["linetype"]):
            errors.append("%s: lost its layer, colour or line type" % where)
        if {k: polyline.dxf.get(k) for k in colours(version)} != colours(version):
            errors.append("%s: lost its true colour or colour name" % where)
        made = [segment_of(e) for e in polyline.virtual_entities()]
        wanted = [segment_of(given.entitydb[h]) for h in chains[name]]
        if len(made) != len(wanted) or not all(any(same_segment(w, m) for m in made) for w in wanted):
            errors.append("%s: its pieces are %s, not %s" % (where, made, wanted))
        vertices, closed = polyline_vertices(polyline)
        start = CHAINS[name][2][0][1]
        if closed != CHAINS[name][0] or vertices[0][:2] != tuple(map(float, start)):
            errors.append("%s: %s, starting at %s, not at %s" % (where, closed, vertices[0], start))
        chain_vertices[name] = vertices
    e, doc, records = run_join(tool, version, folder, SIZE, source, given, chains, kept, square)
    errors += e
    for name, record in records.items():
        where = "%s -c %g %s" % (version, SIZE, name)
        closed, status, _ = CHAINS[name]
        if record["status"] != status or name not in chain_vertices:
            errors.append("%s: %s" % (where, record))
            continue
        if status == "unchanged":
            continue
        vin = chain_vertices[name]
        if (record["corners_filleted"], record["corners_left"]) != corner_counts(vin, closed, set()):
            errors.append("%s: corners %s" % (where, record))
        vout, closed_out = polyline_vertices(doc.entitydb[record["handle"]])
        errors += ["%s: %s" % (where, e) for e in check_polyline(name, vin, closed, vout, closed_out, SIZE, set())]
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
    failed = len({e.split(" ")[0] for e in errors})
    print("%d passed, %d failed" % (len(VERSIONS) - failed, failed))
    sys.exit(1 if errors else 0)


if __name__ == "__main__":
    main()
