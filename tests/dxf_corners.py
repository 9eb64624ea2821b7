"""rrensen-dxf --corners and the reliefs, read back by ezdxf: a plate with a
notch and a hole, in both windings, filleted R5 at its convex corners and
then R2 at its concave ones, has R5 outside and R2 inside; an open polyline
has every corner cut, and says so. Dogbones and T-bones go at the plate's
concave corners and its slots' convex corners, not on a boss inside a slot,
each an arc of the cutter's radius through its corner point.

usage: dxf_corners.py RRENSEN_DXF
"""
import json
import math
import os
import sys
import tempfile

import ezdxf

from dxf_checks import polyline_vertices, run_tool, written_errors

TOOL = sys.argv[1]
failures = []

# A plate 200 x 100 with a notch 20 deep in its bottom side (two concave
# corners), counter-clockwise; a square hole; an open zigzag.
PLATE = [(0, 0), (80, 0), (80, 20), (120, 20), (120, 0), (200, 0), (200, 100), (0, 100)]
HOLE = [(20, 40), (60, 40), (60, 80), (20, 80)]
OPEN = [(0, 150), (50, 150), (50, 200), (100, 200)]


def radius(a, b):
    """The radius of the arc from a to b with a's bulge."""
    return math.dist(a[:2], b[:2]) / (2 * math.sin(2 * math.atan(abs(a[2]))))


def arcs(vertices):
    """The pieces of a closed polyline's `vertices` that are arcs, as (a, b)."""
    return [(a, vertices[(k + 1) % len(vertices)]) for k, a in enumerate(vertices) if a[2]]


def twice_area(points):
    return sum(p[0] * q[1] - q[0] * p[1] for p, q in zip(points, points[1:] + points[:1]))


def draw(outlines, clockwise):
    """A drawing of the closed `outlines` (reversed when clockwise) and OPEN."""
    doc = ezdxf.new("R2010")
    for points in outlines:
        doc.modelspace().add_lwpolyline(points[::-1] if clockwise else points, close=True)
    doc.modelspace().add_lwpolyline(OPEN)
    doc.saveas(GIVEN)


def run(given, out, *args):
    """rrensen-dxf ARGS -o OUT GIVEN, and the polylines it wrote, read back
    by ezdxf, as (vertices, closed); its report's records, if it wrote one."""
    done = run_tool(TOOL, *args, "-o", out, given)
    result = ezdxf.readfile(out)
    failures.extend(written_errors(result, out, " ".join(args)))
    records = []
    if "--report" in args:
        with open(REPORT) as f:
            records = [json.loads(line) for line in f]
    return done, [polyline_vertices(e) for e in result.modelspace().query("LWPOLYLINE")], records


with tempfile.TemporaryDirectory() as work:
    GIVEN, OUT, REPORT = (os.path.join(work, name) for name in ("in.dxf", "out.dxf", "r.json"))
    OUTSIDE = os.path.join(work, "outside.dxf")
    for clockwise in (False, True):
        where = "clockwise" if clockwise else "counter-clockwise"
        draw((PLATE, HOLE), clockwise)
        first, _, records = run(GIVEN, OUTSIDE, "--corners", "convex", "-c", "5",
                                "--style", "radius", "--report", REPORT)
        second, polylines, _ = run(OUTSIDE, OUT, "--corners", "concave", "-c", "2",
                                   "--style", "radius")
        if first.returncode != 0 or second.returncode != 0:
            failures.append(f"{where}: status {first.returncode}, {second.returncode}: "
                            f"{first.stderr}{second.stderr}")
        # The open polyline is said to have every corner cut.
        if "is open: it has no inside to tell convex corners by" not in first.stderr:
            failures.append(f"{where}: the open polyline is not reported: {first.stderr}")
        selections = [(r["closed"], r["corners"], r["corners_unselected"]) for r in records]
        if selections != [(True, "convex", 2), (True, "convex", 0), (False, "all", 0)]:
            failures.append(f"{where}: the report says {selections}")
        for vertices, closed in polylines:
            if not closed:
                # Filleted R5 by the first run: the second finds no corner.
                radii = [radius(a, b) for a, b in zip(vertices, vertices[1:]) if a[2]]
                if len(radii) != 2 or any(abs(r - 5) > 1e-9 for r in radii):
                    failures.append(f"{where}: the open polyline's arcs are {radii}")
                continue
            # Each arc turns with the outline (convex: R5) or against it
            # (concave: R2); every corner has one.
            turning = twice_area([v[:2] for v in vertices]) > 0
            for a, b in arcs(vertices):
                wanted = 5 if (a[2] > 0) == turning else 2
                if abs(radius(a, b) - wanted) > 1e-9:
                    failures.append(f"{where}: an arc of radius {radius(a, b)}, not {wanted}")
            if len(arcs(vertices)) != len(vertices) // 2:
                failures.append(f"{where}: {len(arcs(vertices))} arcs on {len(vertices)} vertices")

    # A plate with a notch (two concave corners), two slots (holes) and a
    # boss inside the second slot (a part again): reliefs of a 6 mm cutter.
    SLOT_A = [(20, 40), (60, 40), (60, 50), (20, 50)]
    SLOT_B = [(100, 30), (180, 30), (180, 80), (100, 80)]
    BOSS = [(120, 40), (160, 40), (160, 70), (120, 70)]
    OUTLINES = [("plate", PLATE, 2), ("slot", SLOT_A, 4), ("slot", SLOT_B, 4), ("boss", BOSS, 0)]
    for clockwise in (False, True):
        for style in ("dogbone", "tbone"):
            where = f"{style}, {'clockwise' if clockwise else 'counter-clockwise'}"
            draw([points for _, points, _ in OUTLINES], clockwise)
            done, polylines, _ = run(GIVEN, OUT, "--style", style, "-c", "6")
            if done.returncode != 1 or "no side for the cutter" not in done.stderr:
                failures.append(f"{where}: status {done.returncode}: {done.stderr}")
            for (name, points, reliefs), (vertices, _) in zip(OUTLINES, polylines):
                if len(arcs(vertices)) != reliefs:
                    failures.append(f"{where}: the {name} has {len(arcs(vertices))} reliefs")
                for a, b in arcs(vertices):
                    if abs(radius(a, b) - 3) > 1e-9:
                        failures.append(f"{where}: a relief of radius {radius(a, b)}")
                # Every corner without a relief is where it was; a dogbone's
                # arc runs through its corner point, a T-bone's (at a right
                # angle) ends there.
                kept = {(x, y) for x, y, _ in vertices}
                moved = [p for p in points if p not in kept]
                if len(moved) != (reliefs if style == "dogbone" else 0):
                    failures.append(f"{where}: the {name} moved {len(moved)} corners")

    # The shipped slotted plate, whose round end makes its straight runs
    # open ones: measured as the whole plate, 6 mm dogbones on its tab
    # slot's two corners and in its slots, none on the boss.
    example = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples",
                           "slotted-plate.dxf")
    done, polylines, _ = run(example, OUT, "--style", "dogbone", "-c", "6")
    counts = [len(arcs(vertices)) for vertices, _ in polylines]
    if done.returncode != 0 or counts != [3, 4, 4, 0]:  # and the round end's arc
        failures.append(f"slotted-plate.dxf: status {done.returncode}, arcs {counts}")

    # A cutter too big for the first slot (10 wide) leaves it as it was, and
    # the report gives the largest diameter: it fits, 1.0001 times it not.
    slot = run(GIVEN, OUT, "--style", "dogbone", "-c", "20", "--report", REPORT)[2][1]
    largest = slot["refused_runs"][0]["largest_size"] if slot["refused_runs"] else None
    if slot["status"] != "unchanged" or not largest or slot["corners_unselected"] != 0:
        failures.append(f"a 20 mm cutter in the slot: {slot}")
    else:
        for size, status in ((largest, "filleted"), (largest * 1.0001, "unchanged")):
            got = run(GIVEN, OUT, "--style", "dogbone", "-c", repr(size),
                      "--report", REPORT)[2][1]["status"]
            if got != status:
                failures.append(f"a {size} mm cutter in the slot: {got}, not {status}")

if failures:
    sys.exit("FAILED:\n" + "\n".join(failures))
print("ok")
