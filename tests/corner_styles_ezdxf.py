#!/usr/bin/python3
"""The corner styles against ezdxf's own fillet and chamfer functions.

On random open outlines, each style is drawn by the filleting library (through
rrensen_corner_styles_probe) at sizes where the cuts fit, and by ezdxf.path:

  radius         ezdxf.path.fillet(points, size)        arcs of radius size
  chamfer        ezdxf.path.chamfer2(points, size, size) ends size from the corner
  chord-chamfer  ezdxf.path.chamfer(points, size)       cuts size long

Each ezdxf function draws, for every corner, a line to the start of the cut
and then the cut: for fillet, cubic Bezier curves approximating the arc, whose
end points lie on the circle; for the chamfers, one line. Their tangent points
must be the library's, and fillet's curve ends must lie on the library's arc.

The outlines turn by 20 to 160 degrees at each corner: ezdxf measures angles
with acos, which loses digits near 0 and 180 degrees, and passes corners it
finds collinear without a cut.

At the largest size too. (That no larger size draws is the C++ tests' to
check, to the last bit: corner_styles_test.cc, polyline_test.cc.)

usage: corner_styles_ezdxf.py PATH/TO/rrensen_corner_styles_probe
"""

import math
import random
import subprocess
import sys

import ezdxf
from ezdxf.math import Vec3
from ezdxf.path import Command, chamfer, chamfer2, fillet

# Coordinates are within about 2000 units; both sides compute in doubles, so
# their tangent points agree to well under this.
TOLERANCE = 1e-8
OUTLINES = 150


def random_walk(rng):
    """An open outline of 3 to 12 points turning 20 to 160 degrees each way."""
    n = rng.randint(3, 12)
    direction = rng.uniform(0, 2 * math.pi)
    at = (rng.uniform(-500, 500), rng.uniform(-500, 500))
    points = [at]
    for k in range(1, n):
        if k > 1:
            turn = math.radians(rng.uniform(20, 160)) * rng.choice((-1, 1))
            direction += turn
        length = rng.uniform(30, 300)
        at = (at[0] + length * math.cos(direction), at[1] + length * math.sin(direction))
        points.append(at)
    return points


def run_probe(probe, requests):
    """Sends (style, size, points) requests, open outlines; returns one dict
    per request: result, largest and the corners (point, tangent points in
    and out, centre, radius)."""
    lines = []
    for style, size, points in requests:
        lines.append(f"{style} open {size!r} {len(points)}")
        lines.extend(f"{x!r} {y!r}" for x, y in points)
    done = subprocess.run([probe], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True)
    outlines = []
    for words in (line.split() for line in done.stdout.splitlines()):
        if words[0] == "outline":
            outlines.append({"result": int(words[1]), "corners": [],
                             "largest": None if words[5] == "none" else float(words[5])})
        elif words[0] == "corner":
            v = [float(w) for w in words[2:]]
            outlines[-1]["corners"].append({"point": int(words[1]), "in": Vec3(v[0], v[1]), "out": Vec3(v[2], v[3]),
                                            "centre": Vec3(v[6], v[7]), "radius": v[8]})
    if len(outlines) != len(requests):
        sys.exit(f"the probe answered {len(outlines)} of {len(requests)} requests")
    return outlines


def ezdxf_cuts(style, size, points):
    """The (start, end, curve ends) of every cut ezdxf draws."""
    vertices = [Vec3(x, y) for x, y in points]
    if style == "radius":
        path = fillet(vertices, size)
    elif style == "chamfer":
        path = chamfer2(vertices, size, size)
    else:
        path = chamfer(vertices, size)
    commands = list(path)
    cuts = []
    k = 0
    # The last command is the line to the last point.
    while k < len(commands) - 1:
        start = commands[k]
        if start.type != Command.LINE_TO:
            raise AssertionError(f"command {k} is not a line: {start.type}")
        k += 1
        if style == "radius":
            ends = []
            while k < len(commands) and commands[k].type == Command.CURVE4_TO:
                ends.append(commands[k].end)
                k += 1
            if not ends:
                raise AssertionError("a fillet without a curve")
            cuts.append((start.end, ends[-1], ends))
        else:
            cuts.append((start.end, commands[k].end, []))
            k += 1
    return cuts


def close(a, b):
    return a.isclose(b, abs_tol=TOLERANCE)


def compare(style, size, points, outline, failures, name):
    if outline["result"] != 0:
        failures.append(f"{name}: refused (result {outline['result']}) at size {size}")
        return
    ours = outline["corners"]
    theirs = ezdxf_cuts(style, size, points)
    if len(ours) != len(theirs) or len(ours) != len(points) - 2:
        failures.append(f"{name}: {len(ours)} corners, ezdxf cuts {len(theirs)}")
        return
    for k, (corner, (start, end, curve_ends)) in enumerate(zip(ours, theirs)):
        where = f"{name}, corner at point {corner['point'] + 1}"
        if not close(corner["in"], start) or not close(corner["out"], end):
            failures.append(f"{where}: cut {corner['in']} to {corner['out']}, "
                            f"ezdxf {start} to {end}")
        # The tangent points are ezdxf's; what each style makes of them is
        # corner_styles_test.cc's to pin. ezdxf's curve must lie on our arc.
        for p in curve_ends:
            off = abs((p - corner["centre"]).magnitude - size)
            if off > TOLERANCE:
                failures.append(f"{where}: ezdxf's arc is {off} off ours")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    probe = sys.argv[1]
    rng = random.Random(20261207)
    styles = ("radius", "chamfer", "chord-chamfer")
    walks = [random_walk(rng) for _ in range(OUTLINES)]
    # First the largest size of each walk in each style, then a size where
    # the cuts fit and the largest.
    asked = [(style, 1.0, points) for points in walks for style in styles]
    largest = [o["largest"] for o in run_probe(probe, asked)]
    drawn = []
    for (style, _, points), top in zip(asked, largest):
        if top is None:
            sys.exit(f"no size draws {points} in style {style}")
        drawn.append((style, top * rng.uniform(0.05, 0.95), points))
        drawn.append((style, top, points))
    failures = []
    for k, ((style, size, points), outline) in enumerate(zip(drawn, run_probe(probe, drawn))):
        compare(style, size, points, outline, failures,
                f"walk {k // 2 // len(styles)} in style {style}, size {size!r}")
    for failure in failures[:30]:
        print(failure)
    print(f"{len(drawn)} outlines compared with ezdxf {ezdxf.__version__}; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
