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
entity's tags are those of the input. It runs --close-gap, fillets a
millimetre plate with a size of 50, and checks the exit statuses.

With --join, for every version: outlines drawn as LINE and ARC entities
(closed, open, one too narrow to fillet) and three lines that branch at one
point; the closed outline must come back as ONE filleted polyline
(LWPOLYLINE, or POLYLINE in R12) in place of its pieces, the open one as an
open polyline, the narrow one and the branching lines as they were, with a
report record for each chain naming its pieces.

It also audits the sample picture that dxf::DrawingDxf writes and checks
that its outline's lines and arcs join end to end, and the DXF pictures of
rrensen-view for a drawn and a refused outline.

usage: dxf_roundtrip.py PATH/TO/rrensen-dxf [PATH/TO/picture-sample [PATH/TO/rrensen-view]]
"""

import json
import math
import os
import subprocess
import sys
import tempfile

import ezdxf

from dxf_checks import read_tags, written_errors

# Coordinates are written losslessly; the checks recompute lines and circles
# from them, so a few units in the last place of values near 100 remain.
TOLERANCE = 1e-7
SIZE = 4.0
# A corner whose direction changes by this much or less gets a straight chord.
CHORD_TURN_DEGREES = 10.0

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]

# Bulges with every bit in use: a quarter circle, and two odd ones.
QUARTER = math.tan(math.pi / 8)
ODD = 0.123456789012345678
BACK = -0.7071067811865476

# name: (vertices as (x, y, bulge), closed, layer, status at SIZE).
SHAPES = {
    "open": ([(0, 0, 0), (100, 0, 0), (100, 60, 0), (40, 80, 0)], False,
             "outline", "filleted"),
    "closed": ([(200, 0, 0), (300, 0, 0), (300, 100, 0), (250, 150, 0),
                (200, 100, 0)], True, "outline", "filleted"),
    # Ends 3 apart: open, it stays open (--close-gap closes it).
    "ends_near": ([(400, 0, 0), (500, 0, 0), (500, 100, 0), (400, 100, 0),
                   (400, 3, 0)], False, "outline", "filleted"),
    # A turn of about 5.7 degrees: a chord, not an arc.
    "gentle": ([(0, 600, 0), (100, 600, 0), (200, 610, 0), (200, 700, 0)],
               False, "outline", "filleted"),
    "clockwise": ([(600, 0, 0), (600, 100, 0), (700, 100, 0), (700, 0, 0)],
                  True, "outline", "filleted"),
    "other_layer": ([(0, 500, 0), (50, 500, 0), (50, 550, 0)], False, "other",
                    "filleted"),
    # A side of 3 is shorter than twice the size.
    "refused": ([(0, 400, 0), (100, 400, 0), (100, 403, 0), (0, 403, 0)],
                False, "outline", "unchanged"),
    # One arc and one straight piece: no corner to fillet.
    "bulged": ([(0, 200, 0), (100, 200, 0.5), (100, 300, 0)], False,
               "outline", "filleted"),
    # Runs 0-1-2 and 3-4-5 with an arc between them.
    "arcs_open": ([(0, 800, 0), (100, 800, 0), (100, 850, ODD), (150, 900, 0),
                   (200, 900, 0), (200, 1000, 0)], False, "outline",
                  "filleted"),
    # Closed: the run 3-4-5-0-1-2 wraps round vertex 0.
    "arcs_closed": ([(300, 800, 0), (400, 800, 0), (400, 850, QUARTER),
                     (350, 900, 0), (300, 900, 0), (300, 850, 0)], True,
                    "outline", "filleted"),
    # The run 3-4-5 ends with a side of 2: refused; 0-1-2 is filleted.
    "arcs_partly": ([(600, 800, 0), (700, 800, 0), (700, 850, BACK),
                     (700, 870, 0), (650, 870, 0), (650, 872, 0)], False,
                    "outline", "partly"),
    # A plate with a half-round notch in its lower edge and a rounded upper
    # right corner: its straight runs wrap round vertex 0.
    "plate": ([(0, 1100, 0), (150, 1100, -1.0), (250, 1100, 0), (400, 1100, 0),
               (400, 1250, QUARTER), (300, 1350, 0), (0, 1350, 0)], True, "outline",
              "filleted"),
}
UNCHANGED = {"refused", "bulged"}


def tool_path():
    if len(sys.argv) not in (2, 3, 4):
        sys.exit(__doc__)
    return sys.argv[1]


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
    side on layer "refused"."""
    errors = []
    cases = [("square", b"hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n",
              "outline", 8),
             ("refused", b"hp1 0 0\r\nhp2 100 0\r\nhp3 100 8\r\n", "refused", 1)]
    for name, exchange, layer, count in cases:
        source = os.path.join(folder, name + ".txt")
        picture = os.path.join(folder, name + ".DXF")
        with open(source, "wb") as f:
            f.write(exchange)
        subprocess.run([view, source, "-o", picture], check=True,
                       stderr=subprocess.DEVNULL)
        doc = ezdxf.readfile(picture)
        errors += ["view %s: audit: %s" % (name, e.message) for e in doc.audit().errors]
        found = len(doc.modelspace().query('*[layer=="%s"]' % layer))
        if found != count:
            errors.append("view %s: %d entities on layer %s, not %d" % (name, found, layer, count))
        points = len(doc.modelspace().query('POINT[layer=="points"]'))
        if points != exchange.count(b"hp"):
            errors.append("view %s: %d points" % (name, points))
    return errors


def add_polyline(msp, version, vertices, closed, attribs):
    """An LWPOLYLINE, or for R12 a POLYLINE with VERTEX entities."""
    if version == "R12":
        e = msp.add_polyline2d([(x, y) for x, y, _ in vertices],
                               dxfattribs=attribs, close=closed)
        for v, (_, _, bulge) in zip(e.vertices, vertices):
            if bulge:
                v.dxf.bulge = bulge
        return e
    return msp.add_lwpolyline(vertices, format="xyb", dxfattribs=attribs,
                              close=closed)


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


def entities_by_handle(tags):
    """Each entity of the ENTITIES section as its list of tags, with the
    VERTEX and SEQEND entities after a POLYLINE counted in the POLYLINE."""
    result = {}
    start = tags.index((2, "ENTITIES"))
    current = None
    for code, value in tags[start + 1:]:
        if code == 0 and value == "ENDSEC":
            break
        if code == 0 and value not in ("VERTEX", "SEQEND"):
            current = []
            result[len(result)] = current
        current.append((code, value))
    by_handle = {}
    for entity in result.values():
        handle = next(v for c, v in entity if c == 5)
        by_handle[handle] = entity
    return by_handle


def outside_entities(tags):
    """The tags outside the ENTITIES section, with $HANDSEED's value blank."""
    start = tags.index((2, "ENTITIES"))
    end = tags.index((0, "ENDSEC"), start)
    kept = tags[:start] + tags[end:]
    for i, (code, value) in enumerate(kept):
        if (code, value) == (9, "$HANDSEED"):
            kept[i + 1] = (5, "")
    return kept


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def cross(a, b):
    return a[0] * b[1] - a[1] * b[0]


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1]


def length(a):
    return math.hypot(a[0], a[1])


def distance_to_line(p, a, b):
    """Distance from p to the infinite line through a and b."""
    return abs(cross(sub(b, a), sub(p, a))) / length(sub(b, a))


def arc_centre(p1, p2, bulge):
    """Centre and radius of the arc from p1 to p2 with this bulge: the arc
    sweeps 4 atan(bulge), counter-clockwise when positive, so its centre lies
    left of the chord (right when clockwise) at chord / 2 / tan(sweep / 2)
    from the chord's middle."""
    sweep = 4 * math.atan(bulge)
    chord = sub(p2, p1)
    half = length(chord) / 2
    offset = half / math.tan(sweep / 2)
    left = (-chord[1] / (2 * half), chord[0] / (2 * half))
    middle = ((p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2)
    centre = (middle[0] + left[0] * offset, middle[1] + left[1] * offset)
    return centre, abs(half / math.sin(sweep / 2))


def check_corner(previous, corner, following, a, bulge_a, b, bulge_b, where, size):
    """A corner's connector from a to b must: start on the incoming side and
    end on the outgoing one, cut both sides back equally, be the size long
    as a chord, and (for an arc) have its centre a radius from both side
    lines with its radii at a and b square to them, turning the corner's way;
    the side after it is straight."""
    errors = []
    u_in, u_out = sub(corner, previous), sub(following, corner)
    if distance_to_line(a, previous, corner) > TOLERANCE:
        errors.append("tangent point %s is off the incoming side" % (a,))
    if distance_to_line(b, corner, following) > TOLERANCE:
        errors.append("tangent point %s is off the outgoing side" % (b,))
    if abs(length(sub(a, corner)) - length(sub(b, corner))) > TOLERANCE:
        errors.append("the two cuts differ")
    if abs(length(sub(b, a)) - size) > TOLERANCE * max(1, size):
        errors.append("tangent points %.12g apart, not %g" % (length(sub(b, a)), size))
    if dot(sub(corner, a), u_in) < -TOLERANCE or dot(sub(b, corner), u_out) < -TOLERANCE:
        errors.append("a tangent point lies beyond its side")
    turn = math.degrees(math.atan2(cross(u_in, u_out), dot(u_in, u_out)))
    if bulge_b != 0:
        errors.append("the side after the corner is not straight")
    if abs(turn) <= CHORD_TURN_DEGREES:
        if bulge_a != 0:
            errors.append("a turn of %.3f degrees needs a chord, not an arc" % turn)
    elif bulge_a == 0:
        errors.append("a turn of %.3f degrees needs an arc" % turn)
    else:
        if (bulge_a > 0) != (turn > 0):
            errors.append("the arc turns the wrong way")
        centre, radius = arc_centre(a, b, bulge_a)
        for side in ((previous, corner), (corner, following)):
            if abs(distance_to_line(centre, *side) - radius) > TOLERANCE * radius:
                errors.append("the arc is not tangent to a side")
        if abs(dot(sub(a, centre), u_in)) > TOLERANCE * length(u_in) * radius or \
           abs(dot(sub(b, centre), u_out)) > TOLERANCE * length(u_out) * radius:
            errors.append("the arc's radius is not square to a side")
        # The sweep equals the turn.
        if abs(math.degrees(4 * math.atan(bulge_a)) - turn) > 1e-7:
            errors.append("the arc sweeps %.9f degrees, the corner turns %.9f"
                          % (math.degrees(4 * math.atan(bulge_a)), turn))
    return ["%s: %s" % (where, e) for e in errors]



def runs_of(vertices, closed):
    """The runs of two or more straight pieces, as (first vertex, pieces);
    a closed polyline without arcs is the one run (0, n)."""
    n = len(vertices)
    pieces = n if closed else n - 1
    straight = [vertices[i][2] == 0 for i in range(pieces)]
    if closed and n >= 2 and all(straight):
        return [(0, n)]
    start = 0
    if closed:
        start = (max(i for i in range(n) if not straight[i]) + 1) % n
    runs, j = [], 0
    while j < pieces:
        k = 0
        while j + k < pieces and straight[(start + j + k) % n]:
            k += 1
        if k >= 2:
            runs.append(((start + j) % n, k))
            j += k
        else:
            j += 1
    return runs


def corner_counts(vertices, closed, refused):
    """(corners filleted, corners left) with the runs starting at a vertex
    in `refused` left."""
    filleted = left = 0
    for first, pieces in runs_of(vertices, closed):
        corners = pieces if closed and pieces == len(vertices) else pieces - 1
        if first in refused:
            left += corners
        else:
            filleted += corners
    return filleted, left


def same_vertex(a, b):
    """The same point and bulge, to the last bit."""
    return a[0] == b[0] and a[1] == b[1] and a[2] == b[2]


def check_polyline(name, vin, closed, out, closed_out, size, refused):
    """out: [(x, y, bulge)] as written for the polyline `vin` ([(x, y,
    bulge)]); the runs starting at a vertex in `refused` must be as they
    were, every other run filleted, every arc kept bit for bit."""
    errors = []
    if closed_out != closed:
        errors.append("%s: written %s" % (name, "closed" if closed_out else "open"))
        return errors
    n, m = len(vin), len(out)
    points = [(float(x), float(y)) for x, y, _ in vin]
    runs = dict(runs_of(vin, closed))

    def corner(c, a, b):
        previous, following = points[(c - 1) % n], points[(c + 1) % n]
        return check_corner(previous, points[c], following, out[a % m][:2], out[a % m][2],
                            out[b % m][:2], out[b % m][2], "%s corner at vertex %d" % (name, c),
                            size)

    if closed and runs.get(0) == n:
        # No arc: one closed outline starting with the cut at vertex 0.
        if 0 in refused:
            if [tuple(v) for v in out] != [tuple(v) for v in vin]:
                errors.append("%s: refused, but changed" % name)
            return errors
        if m != 2 * n:
            return errors + ["%s: %d vertices, expected %d" % (name, m, 2 * n)]
        for c in range(n):
            errors += corner(c, 2 * c, 2 * c + 1)
        return errors

    if closed:
        i = next(k for k in range(n) if vin[k][2] != 0)
        o = next((k for k in range(m) if same_vertex(out[k], vin[i])), None)
        if o is None:
            return errors + ["%s: the arc at vertex %d is gone" % (name, i)]
    else:
        i, o = 0, 0
    first_o, steps, total = o, 0, n if closed else n - 1
    while steps < total and o - first_o < m:
        pieces = runs.get(i, 0)
        if pieces and i not in refused:
            if out[o % m][:2] != vin[i][:2] or out[o % m][2] != 0:
                errors.append("%s: the run from vertex %d does not start on it" % (name, i))
            o += 1
            for c in range(1, pieces):
                errors += corner((i + c) % n, o, o + 1)
                o += 2
        else:
            # An arc, a lone straight piece or a refused run: as it was.
            for k in range(max(pieces, 1)):
                if not same_vertex(out[o % m], vin[(i + k) % n]):
                    errors.append("%s: vertex %d changed: %s, was %s"
                                  % (name, (i + k) % n, out[o % m], vin[(i + k) % n]))
                o += 1
        i = (i + max(pieces, 1)) % n
        steps += max(pieces, 1)
    if not closed:
        if o >= m or not same_vertex(out[o], vin[-1]):
            errors.append("%s: the last vertex moved" % name)
        o += 1
    if o - first_o != m:
        errors.append("%s: %d vertices, expected %d" % (name, m, o - first_o))
    return errors


def polyline_vertices(entity):
    if entity.dxftype() == "LWPOLYLINE":
        return [(x, y, b) for x, y, b in entity.get_points("xyb")], entity.closed
    return ([(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in entity.vertices],
            entity.is_closed)


def run_tool(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def read_report(path, source, errors, where):
    """The report's records by handle, each checked for the entity it names
    in `source`: its "0" tag on the line given, its type and handle after."""
    with open(path, "rb") as f:
        text = f.read()
    if any(b > 127 for b in text):
        errors.append("%s: the report is not ASCII" % where)
    with open(source, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    records = {}
    for line in text.decode("ascii", "replace").splitlines():
        r = json.loads(line)
        at = r["line"] - 1
        if lines[at].strip() != "0" or lines[at + 1].strip() != r["type"] or \
           r["kind"] != "polyline":
            errors.append("%s: record %s does not name its entity's line" % (where, line))
        records[r["handle"]] = r
    return records


def refused_starts(record):
    return {run["first_vertex"] - 1 for run in record.get("refused_runs", [])}


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
        refused = refused_starts(record)
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
    errors = []
    source = os.path.join(folder, version + ".dxf")
    target = os.path.join(folder, version + "-out.dxf")
    report = os.path.join(folder, version + ".jsonl")
    handles = make_input(version, source)
    run = run_tool(tool, source, "-c", str(SIZE), "-o", target, "--report", report)
    if run.returncode != 1:  # "refused" and "arcs_partly" are reported
        return ["%s: exit %d: %s" % (version, run.returncode, run.stderr)]
    for name, needle in (("refused", "side from point 2 to point 3 is 3.000 long and needs 8.000"),
                         ("refused", "the largest size that fillets it is 1.500"),
                         ("arcs_partly", "partly filleted: the run from point 4 to point 6")):
        line = [l for l in run.stderr.splitlines() if " %s " % handles[name] in l]
        if not line or needle not in line[0] or '"outline"' not in line[0]:
            errors.append("%s: no report '%s' for %s in:\n%s" % (version, needle, name, run.stderr))

    doc = ezdxf.readfile(target)
    errors += written_errors(doc, target, version)
    records = read_report(report, source, errors, version)
    shapes = dict(SHAPES)
    if version != "R12":
        shapes["polyline2d"] = ([(800, 0, 0), (900, 0, 0), (900, 80, 0)], False,
                                "outline", "filleted")
    errors += check_outlines(version, doc, records, handles, shapes, SIZE)
    if handles["3d"] in records or len(records) != len(shapes):
        errors.append("%s: the report has %d records for %d polylines"
                      % (version, len(records), len(shapes)))
    r = records[handles["arcs_partly"]]["refused_runs"]
    if [(x["first_vertex"], x["last_vertex"], x["reason"], x["at_vertex"], x["to_vertex"],
         x["needed"], x["found"], x["largest_size"]) for x in r] != \
       [(4, 6, "short_side", 5, 6, 8.0, 2.0, 1.0)]:
        errors.append("%s: arcs_partly's refused run: %s" % (version, r))

    # Everything else is the input's, tag for tag.
    before, after = read_tags(source), read_tags(target)
    if outside_entities(before) != outside_entities(after):
        errors.append("%s: tags outside ENTITIES changed" % version)
    old, new = entities_by_handle(before), entities_by_handle(after)
    for name in ("refused", "bulged", "line", "circle", "3d"):
        if old[handles[name]] != new[handles[name]]:
            errors.append("%s: %s changed" % (version, name))
    if set(old) != set(new):
        errors.append("%s: entities appeared or went" % version)

    # --layer: only that layer's polylines change.
    other = os.path.join(folder, version + "-other.dxf")
    run = run_tool(tool, source, "--layer", "OTHER", "-c", str(SIZE), "-o", other)
    changed = entities_by_handle(read_tags(other))
    if run.returncode != 0 or changed[handles["open"]] != old[handles["open"]] or \
       changed[handles["other_layer"]] == old[handles["other_layer"]]:
        errors.append("%s: --layer OTHER did not fillet only that layer" % version)

    errors += check_close_gap(tool, version, source, handles, folder)
    return errors


def check_close_gap(tool, version, source, handles, folder):
    """--close-gap D closes an open polyline whose ends lie D or less apart
    (ends_near's are 3 apart), dropping its last vertex; the closing side is
    filleted like any other."""
    errors = []
    vin, _, layer, _ = SHAPES["ends_near"]
    for gap, closes in (("2.999", False), ("3", True), (str(2 * SIZE), True)):
        target = os.path.join(folder, version + "-gap.dxf")
        report = os.path.join(folder, version + "-gap.jsonl")
        run = run_tool(tool, source, "-c", str(SIZE), "--close-gap", gap, "-o", target,
                       "--report", report)
        if run.returncode != 1:
            errors.append("%s --close-gap %s: exit %d" % (version, gap, run.returncode))
            continue
        doc = ezdxf.readfile(target)
        errors += ["%s --close-gap: audit: %s" % (version, e.message) for e in doc.audit().errors]
        records = read_report(report, source, errors, version)
        shape = (vin[:-1], True, layer, "filleted") if closes else SHAPES["ends_near"]
        errors += ["--close-gap %s: %s" % (gap, e) for e in check_outlines(
            version, doc, records, handles, {"ends_near": shape}, SIZE)]
        # "refused" has ends 3 apart too: closed, it is still refused, and
        # left as it was.
        record = records[handles["refused"]]
        if record["status"] != "unchanged" or record["closed"]:
            errors.append("%s --close-gap %s: refused became %s" % (version, gap, record))
    return errors


# --join: outlines of LINE and ARC entities. Each as its pieces in file
# order (("line", start, end) or ("arc", centre, radius, from, to)), and the
# vertices (x, y, bulge) of the chain they make, which starts at the start of
# its first piece in the file and runs the way that piece runs.
HALF = 1.0  # the bulge of a half circle counter-clockwise
JOIN_OUTLINES = {
    # A plate 200 x 100 with a half-round bump on its upper edge; the left
    # side drawn upwards, against the way round.
    "join_closed": ([("line", (0, 0), (200, 0)), ("line", (200, 100), (120, 100)),
                     ("line", (200, 0), (200, 100)), ("arc", (100, 100), 20, 0, 180),
                     ("line", (80, 100), (0, 100)), ("line", (0, 0), (0, 100))],
                    [(0, 0, 0), (200, 0, 0), (200, 100, 0), (120, 100, HALF),
                     (80, 100, 0), (0, 100, 0)], True, "filleted"),
    # Open: a corner, a quarter arc, then a line drawn backwards.
    "join_open": ([("line", (300, 0), (400, 0)), ("line", (400, 0), (400, 80)),
                   ("arc", (380, 80), 20, 0, 90), ("line", (300, 100), (380, 100))],
                  [(300, 0, 0), (400, 0, 0), (400, 80, math.tan(math.radians(90) / 4)),
                   (380, 100, 0), (300, 100, 0)], False, "filleted"),
    # 3 wide: too narrow at SIZE, left as its pieces.
    "join_narrow": ([("line", (800, 0), (800, 50)), ("line", (800, 50), (803, 50)),
                     ("line", (803, 50), (803, 0))],
                    [(800, 0, 0), (800, 50, 0), (803, 50, 0), (803, 0, 0)], False,
                    "unchanged"),
}
# Three lines that meet at (600, 50): no chain.
BRANCHING = [("line", (500, 50), (600, 50)), ("line", (600, 50), (700, 50)),
             ("line", (600, 50), (600, 150))]


def add_piece(msp, piece, attribs):
    if piece[0] == "line":
        return msp.add_line(piece[1], piece[2], dxfattribs=attribs)
    return msp.add_arc(piece[1], piece[2], piece[3], piece[4], dxfattribs=attribs)


def make_join_input(version, path):
    """Writes the outlines of lines and arcs; returns ({name: [handles]},
    [handles of the branching lines], handle of a polyline among them)."""
    doc = ezdxf.new(version, setup=True)
    doc.layers.add("outline", color=1)
    msp = doc.modelspace()
    attribs = {"layer": "outline", "color": 3, "linetype": "DASHED"}
    outlines = {name: [add_piece(msp, p, attribs).dxf.handle for p in pieces]
                for name, (pieces, _, _, _) in JOIN_OUTLINES.items()}
    branching = [add_piece(msp, p, attribs).dxf.handle for p in BRANCHING]
    square = add_polyline(msp, version, [(0, 300, 0), (100, 300, 0), (100, 400, 0)],
                          False, attribs).dxf.handle
    doc.saveas(path)
    return outlines, branching, square


def check_join(tool, version, folder):
    errors = []
    where = version + " --join"
    source = os.path.join(folder, version + "-pieces.dxf")
    target = os.path.join(folder, version + "-joined.dxf")
    report = os.path.join(folder, version + "-joined.jsonl")
    outlines, branching, square = make_join_input(version, source)
    run = run_tool(tool, source, "--join", "-c", str(SIZE), "-o", target, "--report", report)
    if run.returncode != 1:  # join_narrow is left
        return ["%s: exit %d: %s" % (where, run.returncode, run.stderr)]
    doc = ezdxf.readfile(target)
    errors += written_errors(doc, target, where)

    # One record for each chain, in file order after the polyline's; each
    # names its pieces in the order the chain runs, the first one's line.
    with open(report) as f:
        records = [json.loads(line) for line in f]
    chains = [r for r in records if r["kind"] == "chain"]
    if [r["kind"] for r in records] != ["chain"] * 3 + ["polyline"]:
        errors.append("%s: report records %s" % (where, [r["kind"] for r in records]))
    with open(source, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    form = "POLYLINE" if version == "R12" else "LWPOLYLINE"
    for record, (name, handles) in zip(chains, outlines.items()):
        pieces, vin, closed, status = JOIN_OUTLINES[name]
        type_of = {h: p[0].upper() for h, p in zip(handles, pieces)}
        parts = [p["handle"] for p in record["parts"]]
        first = record["parts"][0]
        # (lines[n] is the line after line n, counted from 1: the type.)
        if sorted(parts) != sorted(handles) or parts[0] != handles[0] or \
           [p["type"] for p in record["parts"]] != [type_of[h] for h in parts] or \
           record["type"] != form or record["status"] != status or \
           record["layer"] != "outline" or record["closed"] != closed or \
           record["line"] != first["line"] or lines[first["line"]].strip() != "LINE":
            errors.append("%s: %s reported %s" % (where, name, record))
            continue
        if status == "unchanged":
            if record["handle"] is not None:
                errors.append("%s: %s was left, but has a handle" % (where, name))
            continue
        entity = doc.entitydb.get(record["handle"])
        if entity is None or entity.dxftype() != form:
            errors.append("%s: %s: no %s %s" % (where, name, form, record["handle"]))
            continue
        if (entity.dxf.layer, entity.dxf.color, entity.dxf.linetype) != \
           ("outline", 3, "DASHED"):
            errors.append("%s: %s lost its layer, colour or line type" % (where, name))
        counts = corner_counts(vin, closed, set())
        if (record["corners_filleted"], record["corners_left"]) != counts:
            errors.append("%s: %s corners %s" % (where, name, record))
        vout, closed_out = polyline_vertices(entity)
        errors += ["%s: %s" % (where, e) for e in
                   check_polyline(name, vin, closed, vout, closed_out, SIZE, set())]

    # The closed outline is ONE polyline: the chains' polylines and the
    # polyline that was there are all there is of the form.
    made = {r["handle"] for r in chains if r["handle"]}
    found = {e.dxf.handle for e in doc.modelspace().query(form)}
    if found != made | {square}:
        errors.append("%s: %s entities %s, expected %s" % (where, form, found, made | {square}))
    # The narrow outline's pieces and the branching lines are there tag for
    # tag (dxf_join_check.py checks that the joined pieces are gone).
    before, after = read_tags(source), read_tags(target)
    old, new = entities_by_handle(before), entities_by_handle(after)
    for h in outlines["join_narrow"] + branching:
        if old[h] != new.get(h):
            errors.append("%s: %s changed or went" % (where, h))
    if outside_entities(before) != outside_entities(after):
        errors.append("%s: tags outside ENTITIES changed" % where)
    return errors


def style_case(tool, version, folder, name, outline, args):
    """Writes `outline` as a closed polyline, runs the tool with `args` and
    returns (status, the output's vertices as (x, y, bulge), the report's
    record, errors)."""
    source = os.path.join(folder, "%s-%s.dxf" % (version, name))
    target = os.path.join(folder, "%s-%s-out.dxf" % (version, name))
    report = os.path.join(folder, "%s-%s.jsonl" % (version, name))
    doc = ezdxf.new(version)
    handle = add_polyline(doc.modelspace(), version, [(x, y, 0) for x, y in outline],
                          True, {"layer": "0"}).dxf.handle
    doc.saveas(source)
    run = run_tool(tool, *args, "-o", target, "--report", report, source)
    if run.returncode == 2:
        return run.returncode, [], {}, ["%s %s: %s" % (version, name, run.stderr)]
    out = ezdxf.readfile(target)
    errors = written_errors(out, target, "%s %s" % (version, name))
    records = read_report(report, source, errors, version + " " + name)
    entity = out.entitydb.get(handle)
    return run.returncode, polyline_vertices(entity)[0], records.get(handle, {}), errors


def check_styles(tool, version, folder):
    """--style radius -c 3 rounds every corner of a plate with a quarter
    arc of R3, --style chamfer -c 5 cuts C5 chamfers: the cut at each corner
    starts and ends the size from it, its first vertex carries the arc's
    bulge. A radius too large for a short side leaves the plate as it was
    and the report names the side and the largest radius that fits."""
    plate = [(0, 0), (400, 0), (400, 250), (0, 250)]
    errors = []
    for style, size, bulge in (("radius", 3, math.tan(math.pi / 8)), ("chamfer", 5, 0.0)):
        status, vertices, record, e = style_case(tool, version, folder, style, plate,
                                                 ["--style", style, "-c", str(size)])
        errors += e
        if status != 0 or len(vertices) != 8 or record.get("style") != style:
            errors.append("%s %s: status %d, %s, %s" % (version, style, status, vertices, record))
        for k, v in enumerate(vertices):
            corner = plate[k // 2]
            if abs(math.hypot(v[0] - corner[0], v[1] - corner[1]) - size) > 1e-9 or \
               abs(v[2] - (bulge if k % 2 == 0 else 0.0)) > 1e-12:
                errors.append("%s %s: %s is not a cut of %g at %s" % (version, style, v, size, corner))
    narrow = [(0, 0), (400, 0), (400, 4), (0, 4)]
    status, vertices, record, e = style_case(tool, version, folder, "narrow", narrow,
                                             ["--style", "radius", "-c", "3"])
    errors += e
    runs = record.get("refused_runs", [{}])
    if (status != 1 or [v[:2] for v in vertices] != [tuple(map(float, p)) for p in narrow]
            or record.get("status") != "unchanged" or len(runs) != 1
            or (runs[0]["reason"], runs[0]["at_vertex"], runs[0]["to_vertex"], runs[0]["found"])
            != ("short_side", 2, 3, 4.0) or abs(runs[0]["largest_size"] - 2) > 1e-12
            or abs(runs[0]["needed"] - 6) > 1e-12):
        errors.append("%s R3 on a 4 wide strip: status %d, %s, %s" % (version, status, vertices, record))
    run = run_tool(tool, "--style", "round", os.path.join(folder, version + "-radius.dxf"))
    if run.returncode != 2 or "unknown style 'round'" not in run.stderr:
        errors.append("--style round: exit %d: %s" % (run.returncode, run.stderr))
    return errors


def main():
    tool = tool_path()
    errors = []
    with tempfile.TemporaryDirectory() as folder:
        for version in VERSIONS:
            errors += check_version(tool, version, folder)
        for version in ("R12", "R2000", "R2018"):
            errors += check_styles(tool, version, folder)
        for version in VERSIONS:
            errors += check_join(tool, version, folder)
        if len(sys.argv) >= 3:
            errors += check_picture(sys.argv[2], folder)
        if len(sys.argv) == 4:
            errors += check_view(sys.argv[3], folder)
    for e in errors:
        print("FAIL", e)
    checks = 2 * len(VERSIONS) + 3 + len(sys.argv) - 2
    print("%d passed, %d failed" % (checks if not errors else 0, checks if errors else 0))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
