#!/usr/bin/python3
"""End-to-end test of rrensen-dxf against ezdxf, a DXF reader of its own.

For every DXF version ezdxf writes, it draws a file with open and closed
polylines, one that already has an arc, one too tight to fillet, one on
another layer, a 3-D polyline, a LINE and a CIRCLE; runs rrensen-dxf on it;
and checks with ezdxf that the output passes ezdxf's audit, that each
filleted polyline describes the filleted outline (tangent points on the
sides, the size apart, arcs tangent to both sides), and that every other
entity's tags are those of the input.

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

# Coordinates are written losslessly; the checks recompute lines and circles
# from them, so a few units in the last place of values near 100 remain.
TOLERANCE = 1e-7
SIZE = 4.0
# A corner whose direction changes by this much or less gets a straight chord.
CHORD_TURN_DEGREES = 10.0

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]

# name: (points, closed, layer); every one is filleted at SIZE unless named
# in UNCHANGED.
SHAPES = {
    "open": ([(0, 0), (100, 0), (100, 60), (40, 80)], False, "outline"),
    "closed": ([(200, 0), (300, 0), (300, 100), (250, 150), (200, 100)], True,
               "outline"),
    # Ends 3 apart, closer than twice the size: the tool closes it.
    "ends_near": ([(400, 0), (500, 0), (500, 100), (400, 100), (400, 3)],
                  False, "outline"),
    # A turn of about 5.7 degrees: a chord, not an arc.
    "gentle": ([(0, 600), (100, 600), (200, 610), (200, 700)], False,
               "outline"),
    "clockwise": ([(600, 0), (600, 100), (700, 100), (700, 0)], True,
                  "outline"),
    "other_layer": ([(0, 500), (50, 500), (50, 550)], False, "other"),
    # A side of 3 is shorter than twice the size.
    "refused": ([(0, 400), (100, 400), (100, 403), (0, 403)], False,
                "outline"),
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


def make_input(version, path):
    """Writes the test drawing; returns {shape name: handle}."""
    doc = ezdxf.new(version, setup=True)
    doc.layers.add("outline", color=1)
    doc.layers.add("other", color=2)
    msp = doc.modelspace()
    handles = {}
    attribs = {"layer": "outline", "color": 3, "linetype": "DASHED"}
    for name, (points, closed, layer) in SHAPES.items():
        a = dict(attribs, layer=layer)
        if version == "R12":
            e = msp.add_polyline2d(points, dxfattribs=a, close=closed)
        else:
            e = msp.add_lwpolyline(points, dxfattribs=a, close=closed)
        handles[name] = e.dxf.handle
    bulged = [(0, 200, 0), (100, 200, 0.5), (100, 300, 0)]
    if version == "R12":
        e = msp.add_polyline2d([(x, y) for x, y, _ in bulged], dxfattribs=attribs)
        e.vertices[1].dxf.bulge = 0.5
    else:
        e = msp.add_lwpolyline(bulged, format="xyb", dxfattribs=attribs)
    handles["bulged"] = e.dxf.handle
    handles["line"] = msp.add_line((0, 0), (50, 50)).dxf.handle
    handles["circle"] = msp.add_circle((10, 10), 5).dxf.handle
    handles["3d"] = msp.add_polyline3d([(0, 0, 0), (10, 0, 5), (10, 10, 0)]).dxf.handle
    if version != "R12":
        # The vertex-list form in a file with subclass markers.
        e = msp.add_polyline2d([(800, 0), (900, 0), (900, 80)], dxfattribs=attribs)
        handles["polyline2d"] = e.dxf.handle
    doc.saveas(path)
    return handles


def read_tags(path):
    """The file's tags as (code, value) pairs, line ends and blanks removed."""
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    return [(int(lines[i]), lines[i + 1].rstrip()) for i in range(0, len(lines) - 1, 2)]


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


def corners_of(points, closed):
    """(previous, corner, next) for each corner, in the outline's order."""
    if not closed:
        return [(points[i - 1], points[i], points[i + 1])
                for i in range(1, len(points) - 1)]
    n = len(points)
    return [(points[i - 1], points[i], points[(i + 1) % n]) for i in range(n)]


def check_corner(previous, corner, following, a, bulge_a, b, bulge_b, where):
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
    if abs(length(sub(b, a)) - SIZE) > TOLERANCE:
        errors.append("tangent points %.12g apart, not %g" % (length(sub(b, a)), SIZE))
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


def check_filleted(name, vertices, closed_out):
    """vertices: [(x, y, bulge)] as written; compares with SHAPES[name]."""
    points, closed, _ = SHAPES[name]
    points = [tuple(map(float, p)) for p in points]
    if name == "ends_near":  # the tool takes the last point as the first
        points, closed = points[:-1], True
    errors = []
    if closed_out != closed:
        errors.append("%s: written %s" % (name, "closed" if closed_out else "open"))
    corners = corners_of(points, closed)
    xy = [(v[0], v[1]) for v in vertices]
    bulges = [v[2] for v in vertices]
    expected = 2 * len(corners) + (0 if closed else 2)
    if len(vertices) != expected:
        return errors + ["%s: %d vertices, expected %d" % (name, len(vertices), expected)]
    if not closed:
        if xy[0] != points[0] or xy[-1] != points[-1]:
            errors.append("%s: the ends moved" % name)
        if bulges[0] != 0:
            errors.append("%s: the first side is not straight" % name)
        pairs = [(1 + 2 * k, 2 + 2 * k) for k in range(len(corners))]
    else:
        # Any starting vertex: find the rotation whose first pair matches
        # the first corner.
        n = len(xy)
        pairs = None
        for shift in range(n):
            if distance_to_line(xy[shift], *corners[0][:2]) < TOLERANCE and \
               distance_to_line(xy[(shift + 1) % n], *corners[0][1:]) < TOLERANCE and \
               abs(length(sub(xy[(shift + 1) % n], xy[shift])) - SIZE) < TOLERANCE:
                pairs = [((shift + 2 * k) % n, (shift + 2 * k + 1) % n)
                         for k in range(len(corners))]
                break
        if pairs is None:
            return errors + ["%s: no vertex pair cuts the first corner" % name]
    for k, ((previous, corner, following), (i, j)) in enumerate(zip(corners, pairs)):
        errors += check_corner(previous, corner, following, xy[i], bulges[i],
                               xy[j], bulges[j], "%s corner %d" % (name, k + 1))
    return errors


def polyline_vertices(entity):
    if entity.dxftype() == "LWPOLYLINE":
        return [(x, y, b) for x, y, b in entity.get_points("xyb")], entity.closed
    return ([(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in entity.vertices],
            entity.is_closed)


def run_tool(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def check_version(tool, version, folder):
    errors = []
    source = os.path.join(folder, version + ".dxf")
    target = os.path.join(folder, version + "-out.dxf")
    handles = make_input(version, source)
    run = run_tool(tool, source, "-c", str(SIZE), "-o", target)
    if run.returncode != 0:
        return ["%s: exit %d: %s" % (version, run.returncode, run.stderr)]
    for name, needle in (("refused", "side from point 2 to point 3 is 3.000 long and needs 8.000"),
                         ("refused", "largest size below 20 that draws it is 1.500"),
                         ("bulged", "already has arcs")):
        line = [l for l in run.stderr.splitlines() if " %s " % handles[name] in l]
        if not line or needle not in line[0] or '"outline"' not in line[0]:
            errors.append("%s: no report '%s' for %s in:\n%s" % (version, needle, name, run.stderr))

    doc = ezdxf.readfile(target)
    auditor = doc.audit()
    if auditor.has_errors:
        errors += ["%s: audit: %s" % (version, e.message) for e in auditor.errors]
    msp = doc.modelspace()
    filleted = [n for n in SHAPES if n not in UNCHANGED] + (
        ["polyline2d"] if version != "R12" else [])
    for name in filleted:
        entity = doc.entitydb[handles[name]]
        if entity.dxf.layer != SHAPES.get(name, (0, 0, "outline"))[2] or \
           entity.dxf.color != 3 or entity.dxf.linetype != "DASHED":
            errors.append("%s: %s lost its layer, colour or line type" % (version, name))
        vertices, closed = polyline_vertices(entity)
        if name == "polyline2d":
            SHAPES["polyline2d"] = ([(800, 0), (900, 0), (900, 80)], False, "outline")
        errors += ["%s: %s" % (version, e) for e in check_filleted(name, vertices, closed)]
        SHAPES.pop("polyline2d", None)

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
    # New vertex handles are unused ones, and $HANDSEED stays above all.
    # (Only the entities' handles: R12's DIMSTYLE uses group code 5 for a
    # block name.)
    start = after.index((2, "ENTITIES"))
    end = after.index((0, "ENDSEC"), start)
    seen = [v for c, v in after[start:end] if c == 5]
    if len(seen) != len(set(seen)):
        errors.append("%s: a handle is used twice" % version)
    seed = int(doc.header["$HANDSEED"], 16)
    if any(int(v, 16) >= seed for v in seen):
        errors.append("%s: $HANDSEED is not above every handle" % version)

    # --layer: only that layer's polylines change.
    other = os.path.join(folder, version + "-other.dxf")
    run = run_tool(tool, source, "--layer", "OTHER", "-c", str(SIZE), "-o", other)
    changed = entities_by_handle(read_tags(other))
    if run.returncode != 0 or changed[handles["open"]] != old[handles["open"]] or \
       changed[handles["other_layer"]] == old[handles["other_layer"]]:
        errors.append("%s: --layer OTHER did not fillet only that layer" % version)
    return errors


def check_statuses(tool, folder):
    """Exit statuses: nothing to fillet is 1 and writes nothing; bad usage and
    a file that is not DXF are 2."""
    errors = []
    source = os.path.join(folder, "R2000.dxf")
    nothing = os.path.join(folder, "nothing.dxf")
    cases = [
        (["--layer", "nosuchlayer", source, "-o", nothing], 1),
        ([source, "--dry-run", "-o", nothing], 0),
        ([source, "-c", "20"], 2),
        ([source, "-c", "-1"], 2),
        ([source, "-c", "five"], 2),
        ([os.path.join(folder, "missing.dxf")], 2),
        ([__file__], 2),
    ]
    for args, status in cases:
        run = run_tool(tool, *args)
        if run.returncode != status:
            errors.append("%s: exit %d, expected %d" % (args, run.returncode, status))
    if os.path.exists(nothing):
        errors.append("a run with nothing to fillet, or a dry run, wrote a file")
    run = run_tool(tool, __file__)
    if ":1: not a readable ASCII DXF file" not in run.stderr:
        errors.append("no line number for a file that is not DXF: " + run.stderr)
    return errors


def main():
    tool = tool_path()
    errors = []
    with tempfile.TemporaryDirectory() as folder:
        for version in VERSIONS:
            errors += check_version(tool, version, folder)
        errors += check_statuses(tool, folder)
        if len(sys.argv) >= 3:
            errors += check_picture(sys.argv[2], folder)
        if len(sys.argv) == 4:
            errors += check_view(sys.argv[3], folder)
    for e in errors:
        print("FAIL", e)
    checks = len(VERSIONS) + len(sys.argv) - 1
    print("%d passed, %d failed" % (checks if not errors else 0, checks if errors else 0))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
