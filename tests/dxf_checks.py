"""What the ezdxf scripts (dxf_roundtrip.py, dxf_join_check.py) check in
every file rrensen-dxf writes: ezdxf's audit, the handles of the ENTITIES
section, unique and below $HANDSEED, the tags of what must not change, and
that each polyline read back is the filleted outline of the one given."""

import json
import math
import subprocess
from types import SimpleNamespace

import ezdxf

# Coordinates are written losslessly; the checks recompute lines and circles
# from them, so a few units in the last place of values near 100 remain.
TOLERANCE = 1e-7
# A corner whose direction changes by this much or less gets a straight chord.
CHORD_TURN_DEGREES = 10.0
# The DXF versions ezdxf writes.
VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]


def read_tags(path):
    """The file's tags as (code, value) pairs, line ends and blanks removed."""
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    return [(int(lines[i]), lines[i + 1].rstrip()) for i in range(0, len(lines) - 1, 2)]


def written_errors(doc, path, where):
    """ezdxf's audit of `doc`, read from `path`, and its handles. The
    handles are read as text: ezdxf gives objects that R12 lacks handles of
    their own, and R12's DIMSTYLE uses group code 5 for a block name."""
    errors = ["%s: audit: %s" % (where, e.message) for e in doc.audit().errors]
    tags = read_tags(path)
    start = tags.index((2, "ENTITIES"))
    handles = [v for c, v in tags[start:tags.index((0, "ENDSEC"), start)] if c == 5]
    if len(handles) != len(set(handles)):
        errors.append("%s: a handle is used twice" % where)
    if any(int(h, 16) >= int(doc.header["$HANDSEED"], 16) for h in handles):
        errors.append("%s: $HANDSEED is not above every handle" % where)
    return errors


def add_polyline(msp, version, vertices, closed, attribs):
    """An LWPOLYLINE, or for R12 a POLYLINE with VERTEX entities."""
    if version == "R12":
        e = msp.add_polyline2d([(x, y) for x, y, _ in vertices], dxfattribs=attribs, close=closed)
        for v, (_, _, bulge) in zip(e.vertices, vertices):
            if bulge:
                v.dxf.bulge = bulge
        return e
    return msp.add_lwpolyline(vertices, format="xyb", dxfattribs=attribs, close=closed)


def polyline_vertices(entity):
    if entity.dxftype() == "LWPOLYLINE":
        return [(x, y, b) for x, y, b in entity.get_points("xyb")], entity.closed
    return ([(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in entity.vertices], entity.is_closed)


def run_tool(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def run_and_read(tool, source, target, args, status, where):
    """Runs the tool with `args` on `source`, writing `target` and a report,
    and checks the exit status, ezdxf's audit, the handles, an ASCII report
    and the tags outside ENTITIES. Returns errors, doc (None if the status is
    wrong), records, lines (the source's) and old and new entities by handle."""
    report = target + ".jsonl"
    run = run_tool(tool, source, *args, "-o", target, "--report", report)
    if run.returncode != status:
        return SimpleNamespace(errors=["%s: exit %d: %s" % (where, run.returncode, run.stderr)], doc=None)
    doc = ezdxf.readfile(target)
    errors = written_errors(doc, target, where)
    with open(report, "rb") as f:
        text = f.read()
    if any(b > 127 for b in text):
        errors.append("%s: the report is not ASCII" % where)
    with open(source, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    before, after = read_tags(source), read_tags(target)
    if outside_entities(before) != outside_entities(after):
        errors.append("%s: tags outside ENTITIES changed" % where)
    return SimpleNamespace(errors=errors, doc=doc, lines=lines, old=entities_by_handle(before),
                           new=entities_by_handle(after),
                           records=[json.loads(r) for r in text.decode("ascii", "replace").splitlines()])


def entities_by_handle(tags):
    """Each entity of the ENTITIES section as its list of tags, with the
    VERTEX and SEQEND entities after a POLYLINE counted in the POLYLINE."""
    start = tags.index((2, "ENTITIES"))
    entities = []
    for code, value in tags[start + 1:tags.index((0, "ENDSEC"), start)]:
        if code == 0 and value not in ("VERTEX", "SEQEND"):
            entities.append([])
        entities[-1].append((code, value))
    return {next(v for c, v in entity if c == 5): entity for entity in entities}


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
                            out[b % m][:2], out[b % m][2], "%s corner at vertex %d" % (name, c), size)

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
