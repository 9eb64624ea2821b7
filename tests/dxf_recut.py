"""rrensen-dxf --refillet, read back by ezdxf: outlines cut in each style
and re-cut at another size are those cut at it directly, and at 0 the
sharp ones; ezdxf's own fillets are re-cut too; the plate R5 becomes R2
with its notch kept, comes back sharp, and keeps its cuts where R60 does
not fit.

usage: dxf_recut.py RRENSEN_DXF
"""
import itertools
import json
import math
import os
import random
import sys
import tempfile

import ezdxf
from ezdxf.math import Vec3
from ezdxf.path import Command

from dxf_checks import cross, dot, polyline_vertices, run_tool, sub, written_errors

TOOL = sys.argv[1]
PLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "plate.dxf")
TOLERANCE = 1e-9 * 1000  # of drawings 1000 units across
failures = []


def turn(a, b, c):
    u, v = sub(b, a), sub(c, b)
    return math.atan2(cross(u, v), dot(u, v))


def stars(count, seed):
    """Closed star-shaped outlines whose corners turn by 0.2 to 2.6
    radians: every chord-style cut an arc, every side long after two cuts."""
    rng = random.Random(seed)
    found = []
    while len(found) < count:
        n = rng.randint(5, 8)
        polar = [(2 * math.pi * (k + 0.8 * rng.random()) / n, 300 + 200 * rng.random()) for k in range(n)]
        points = [(r * math.cos(a), r * math.sin(a)) for a, r in polar][::-1 if len(found) % 2 else 1]
        if all(0.2 < abs(turn(points[k - 1], points[k], points[(k + 1) % n])) < 2.6 for k in range(n)):
            found.append(points)
    return found


def save(outlines, path, closed=True):
    doc = ezdxf.new("R2010")
    for vertices in outlines:
        doc.modelspace().add_lwpolyline([v if len(v) == 3 else (*v, 0) for v in vertices],
                                        format="xyb", close=closed)
    doc.saveas(path)


def run(*args, status=0):
    """rrensen-dxf ARGS with a report; the polylines written, by handle,
    and the report's records."""
    out, report = args[-2], args[-1] + ".json"
    done = run_tool(TOOL, *args[:-2], "-o", out, "--report", report, args[-1])
    where = " ".join(args[:-2])
    if done.returncode != status:
        failures.append(f"{where}: status {done.returncode}, not {status}: {done.stderr}")
    doc = ezdxf.readfile(out)
    failures.extend(written_errors(doc, out, where))
    with open(report) as f:
        records = [json.loads(line) for line in f]
    return read(out), records


def read(path):
    doc = ezdxf.readfile(path)
    return {e.dxf.handle: polyline_vertices(e)[0] for e in doc.modelspace().query("LWPOLYLINE")}


def expect_near(mine, theirs, where):
    for handle, vertices in theirs.items():
        got = mine.get(handle, [])
        if len(got) != len(vertices) or any(abs(a - b) > (TOLERANCE if k < 2 else 1e-9)
                                            for p, q in zip(got, vertices) for k, (a, b) in enumerate(zip(p, q))):
            failures.append(f"{where}: {handle} is {got[:3]}..., not {vertices[:3]}...")


def round_trips(folder):
    original, outlines = os.path.join(folder, "stars.dxf"), stars(8, 31)
    save(outlines, original)
    sharp = read(original)
    for style in ("chord", "radius", "chamfer", "chord-chamfer"):
        first = os.path.join(folder, f"{style}-4.dxf")
        run("-c", "4", "--style", style, first, original)
        direct, _ = run("-c", "1.5", "--style", style, os.path.join(folder, "direct.dxf"), original)
        again, records = run("--refillet", "--rechamfer", "8", "-c", "1.5", "--style", style,
                             os.path.join(folder, "again.dxf"), first)
        expect_near(again, direct, f"{style} 4 re-cut at 1.5")
        if [(r["earlier_cuts"], r["earlier_cuts_recut"]) for r in records] != [(len(o), len(o)) for o in outlines]:
            failures.append(f"{style}: report {records}")
        back, _ = run("--rechamfer", "8", "-c", "0", os.path.join(folder, "back.dxf"), first)
        expect_near(back, sharp, f"{style} 4 re-cut at 0")


def ezdxf_fillets(folder):
    """ezdxf's path.fillet draws each corner's arc as Bezier curves: the arc
    is the bulge of the turn between the curves' first and last tangents."""
    outlines, sharp = [], []
    for points in stars(4, 7):
        points = points + [points[0]]
        path = ezdxf.path.fillet([Vec3(p) for p in points], 5.0)
        vertices = [[path.start.x, path.start.y, 0.0]]
        for curves, group in itertools.groupby(path, key=lambda command: command.type == Command.CURVE4_TO):
            group = list(group)
            if curves:
                leave, arrive = group[0].ctrl1 - Vec3(*vertices[-1][:2]), group[-1].end - group[-1].ctrl2
                vertices[-1][2] = math.tan(math.atan2(leave.x * arrive.y - leave.y * arrive.x, leave.dot(arrive)) / 4)
                group = group[-1:]
            vertices += [[command.end.x, command.end.y, 0.0] for command in group]
        outlines.append([tuple(v) for v in vertices])
        sharp.append(points)
    theirs, recut = os.path.join(folder, "ezdxf.dxf"), os.path.join(folder, "ezdxf-sharp.dxf")
    save(outlines, theirs, closed=False)
    save(sharp, recut, closed=False)
    again, records = run("--refillet", "-c", "2", "--style", "radius", os.path.join(folder, "again.dxf"), theirs)
    direct, _ = run("-c", "2", "--style", "radius", os.path.join(folder, "direct.dxf"), recut)
    expect_near(again, direct, "ezdxf's fillets re-cut at 2")
    if any(r["earlier_cuts"] != len(o) - 2 for r, o in zip(records, sharp)):
        failures.append(f"ezdxf's fillets: {records}")


def plate(folder):
    r5 = os.path.join(folder, "plate-r5.dxf")
    original = read(PLATE)
    run("-c", "5", "--style", "radius", r5, PLATE)
    r2, records = run("--refillet", "-c", "2", "--style", "radius", os.path.join(folder, "r2.dxf"), r5)
    for handle, vertices in r2.items():
        # Every corner R2, the R80 too; the notch's half circle stays.
        radii = {round(math.dist(a[:2], b[:2]) / (2 * math.sin(2 * math.atan(abs(a[2])))), 9)
                 for a, b in zip(vertices, vertices[1:] + vertices[:1]) if a[2]}
        if radii != ({2.0, 40.0} if handle == "8C" else {2.0}):
            failures.append(f"plate R2: {handle} has radii {radii}")
    notch = [v for v in r2["8C"] if v[2] == -1.0]
    if len(notch) != 1 or notch[0][:2] != (160.0, 0.0):
        failures.append(f"plate R2: the notch is {notch}")
    if [(r["earlier_cuts"], r["earlier_cuts_recut"]) for r in records] != [(4, 4), (4, 4)]:
        failures.append(f"plate R2: report {records}")
    back, _ = run("--refillet-max-radius", "50", "-c", "0", os.path.join(folder, "back.dxf"), r5)
    expect_near(back, original, "plate R5 re-cut at 0, R80 kept")
    # The window, 120 x 100, holds R50 and no more: at 60 it keeps its R5s.
    big, records = run("--refillet", "-c", "60", "--style", "radius", os.path.join(folder, "big.dxf"),
                       r5, status=1)
    if big["8D"] != read(r5)["8D"] or records[1]["status"] != "unchanged" or \
            abs(records[1]["refused_runs"][0]["largest_size"] - 50) > 1e-9 or records[1]["earlier_cuts_recut"] != 0:
        failures.append(f"plate at 60: {records[1]}")


with tempfile.TemporaryDirectory() as work:
    round_trips(work)
    ezdxf_fillets(work)
    plate(work)
for failure in failures:
    print(failure)
print(f"{'FAILED' if failures else 'ok'}: {len(failures)} failures")
sys.exit(1 if failures else 0)
