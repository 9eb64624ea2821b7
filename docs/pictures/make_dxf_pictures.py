#!/usr/bin/python3
"""Draws examples/bracket.dxf and examples/plate.dxf before and after
rrensen-dxf as SVG files, docs/pictures/bracket-before.svg, bracket-after.svg,
plate-before.svg and plate-after.svg, for the README; and
examples/slotted-plate.dxf with reliefs and with corners chosen, slotted-*.svg,
for docs/cnc-corners.md; and examples/plate.dxf filleted R5, re-cut R2 and
made sharp again, plate-r5.svg, plate-recut-r2.svg and plate-recut-sharp.svg,
for the README.

Reads both drawings with ezdxf (Debian's python3-ezdxf) and writes the SVG
itself: LWPOLYLINE as paths whose bulges become SVG arcs, CIRCLE as circles.

usage: docs/pictures/make_dxf_pictures.py PATH/TO/rrensen-dxf
"""

import math
import os
import subprocess
import sys
import tempfile

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "..", "examples")
# (example, fillet size, SVG pixels per drawing unit)
SAMPLES = [("bracket", "5", 3.0), ("plate", "25", 1.2)]
# (picture, example, rrensen-dxf's words for each run in turn): the slotted
# plate, and the plate filleted R5 and then re-cut
R5 = ["-c", "5", "--style", "radius"]
SEQUENCES = [("slotted-dogbone", "slotted-plate", [["--style", "dogbone", "-c", "6"]]),
             ("slotted-tbone", "slotted-plate", [["--style", "tbone", "-c", "6"]]),
             ("slotted-r5-r2", "slotted-plate", [["--corners", "convex", "--style", "radius", "-c", "5"],
                                                 ["--corners", "concave", "--style", "radius", "-c", "2"]]),
             ("plate-r5", "plate", [R5]),
             ("plate-recut-r2", "plate", [R5, ["--refillet", "-c", "2", "--style", "radius",
                                               "--refillet-max-radius", "50"]]),
             ("plate-recut-sharp", "plate", [R5, ["--refillet", "-c", "0", "--refillet-max-radius", "50"]])]
MARGIN = 8


def path_of(polyline, flip, scale):
    """SVG path data of an LWPOLYLINE. A bulge b sweeps 4 atan(b) from its
    vertex to the next, counter-clockwise when positive; the arc's radius is
    half the chord over sin(sweep / 2). The picture's y axis points down,
    so a counter-clockwise arc on paper is SVG's negative sweep (flag 0)."""
    points = list(polyline.get_points("xyb"))
    if polyline.closed:
        points.append(points[0])
    x0, y0 = flip(points[0][0], points[0][1])
    data = ["M %.3f %.3f" % (x0, y0)]
    for (x1, y1, bulge), (x2, y2, _) in zip(points, points[1:]):
        sx, sy = flip(x2, y2)
        if bulge == 0:
            data.append("L %.3f %.3f" % (sx, sy))
            continue
        sweep = 4 * math.atan(abs(bulge))
        radius = math.hypot(x2 - x1, y2 - y1) / 2 / math.sin(sweep / 2) * scale
        data.append("A %.3f %.3f 0 %d %d %.3f %.3f" % (
            radius, radius, 1 if sweep > math.pi else 0,
            0 if bulge > 0 else 1, sx, sy))
    if polyline.closed:
        data.append("Z")
    return " ".join(data)


def svg_of(path, title, scale):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    xs, ys = [], []
    for e in msp.query("LWPOLYLINE"):
        for x, y in e.get_points("xy"):
            xs.append(x)
            ys.append(y)
    for e in msp.query("CIRCLE"):
        xs += [e.dxf.center.x - e.dxf.radius, e.dxf.center.x + e.dxf.radius]
        ys += [e.dxf.center.y - e.dxf.radius, e.dxf.center.y + e.dxf.radius]
    left, top = min(xs), max(ys)
    width = (max(xs) - left) * scale + 2 * MARGIN
    height = (top - min(ys)) * scale + 2 * MARGIN + 16

    def flip(x, y):
        return (x - left) * scale + MARGIN, (top - y) * scale + MARGIN + 16

    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
           'viewBox="0 0 %d %d">' % (width, height, width, height),
           '<rect width="100%" height="100%" fill="white"/>',
           '<text x="%d" y="14" font-family="sans-serif" font-size="13">%s</text>'
           % (MARGIN, title)]
    for e in msp.query("LWPOLYLINE"):
        out.append('<path d="%s" fill="none" stroke="#1f4e9c" stroke-width="2"/>'
                   % path_of(e, flip, scale))
        for x, y in e.get_points("xy"):
            sx, sy = flip(x, y)
            out.append('<circle cx="%.3f" cy="%.3f" r="2" fill="#c0392b"/>' % (sx, sy))
    for e in msp.query("CIRCLE"):
        cx, cy = flip(e.dxf.center.x, e.dxf.center.y)
        out.append('<circle cx="%.3f" cy="%.3f" r="%.3f" fill="none" '
                   'stroke="#555" stroke-width="1.5"/>' % (cx, cy, e.dxf.radius * scale))
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as folder:
        for stem, size, scale in SAMPLES:
            sample = os.path.join(EXAMPLES, stem + ".dxf")
            after = os.path.join(folder, stem + "-filleted.dxf")
            # Status 1: some polyline was left as it was, and reported.
            run = subprocess.run([sys.argv[1], sample, "-c", size, "-o", after])
            if run.returncode not in (0, 1):
                sys.exit("rrensen-dxf failed on " + sample)
            pictures = [(sample, stem + ".dxf", stem + "-before.svg"),
                        (after, "rrensen-dxf -c %s %s.dxf" % (size, stem), stem + "-after.svg")]
            for source, title, name in pictures:
                with open(os.path.join(HERE, name), "w") as f:
                    f.write(svg_of(source, title, scale))
        sample = os.path.join(EXAMPLES, "slotted-plate.dxf")
        with open(os.path.join(HERE, "slotted-before.svg"), "w") as f:
            f.write(svg_of(sample, "slotted-plate.dxf", 2.0))
        for name, example, runs in SEQUENCES:
            source = os.path.join(EXAMPLES, example + ".dxf")
            for k, words in enumerate(runs):
                after = os.path.join(folder, "%s-%d.dxf" % (name, k))
                if subprocess.run([sys.argv[1], *words, "-o", after, source]).returncode:
                    sys.exit("rrensen-dxf failed on " + source)
                source = after
            title = ", then ".join("rrensen-dxf " + " ".join(words) for words in runs)
            with open(os.path.join(HERE, name + ".svg"), "w") as f:
                f.write(svg_of(source, title, 2.0))


if __name__ == "__main__":
    main()
