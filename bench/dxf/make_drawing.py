#!/usr/bin/python3
"""Writes the drawings that bench/dxf/run.sh times rrensen-dxf on, with ezdxf
(Debian's python3-ezdxf), so that they are what a CAD program's export
looks like: an R2000 file with its tables, blocks and objects.

    make_drawing.py drawing OUT.dxf   # about 100 MB: 200000 polylines and
                                      # 56000 outlines of lines and arcs
    make_drawing.py big OUT.dxf       # one closed LWPOLYLINE of 10^6
                                      # vertices that no size 5 fillets
    make_drawing.py polylines OUT.dxf # about 4 MB: 20000 closed
                                      # five-point LWPOLYLINEs, R2010
    make_drawing.py folder OUT/       # 200 drawings of 1 to 5 MB, a mix
                                      # of the kinds above, in subfolders
    make_drawing.py drawing OUT.dxf 0.1  # the same drawing a tenth as
                                         # large, for callgrind

The drawing, from a fixed seed, so every run writes the same bytes:

- 200000 LWPOLYLINEs in a grid on layer "parts": 70 % closed five-point
  outlines, 15 % open ones of four or five points, 10 % closed ones with
  one or two arcs (bulges), 5 % closed ones with a side of 2, which size 5
  refuses;
- 56000 outlines drawn as LINE and ARC entities on layer "outline", the
  pieces of each one after another, some drawn backwards: 60 % rectangles
  with one rounded corner (4 lines, 1 arc), 30 % plain rectangles, 10 %
  open U shapes (3 lines), for --join;
- 5000 circles and 5000 texts on layer "notes".

Coordinates are in millimetres with every digit of a double, as CAD
programs export computed points (AutoCAD writes up to 16 significant
digits).
"""

import math
import random
import sys

import ezdxf

POLYLINES = 200000
OUTLINES = 56000
NOTES = 5000
SEED = 20240611
COLUMNS = 500  # grid cells per row
CELL = 100.0  # grid pitch in mm


def mm(value):
    return value


def cell(index):
    return (index % COLUMNS) * CELL, (index // COLUMNS) * CELL


def pentagon(rng, x, y):
    radius = rng.uniform(15, 40)
    turn = rng.uniform(0, 2 * math.pi)
    points = []
    for k in range(5):
        a = turn + k * 2 * math.pi / 5 + rng.uniform(-0.2, 0.2)
        points.append((mm(x + 50 + radius * math.cos(a)), mm(y + 50 + radius * math.sin(a)), 0))
    return points


def open_zigzag(rng, x, y):
    count = rng.choice((4, 5))
    return [(mm(x + 10 + 18 * k + rng.uniform(-2, 2)),
             mm(y + 20 + (40 if k % 2 else 0) + rng.uniform(-5, 5)), 0)
            for k in range(count)]


def with_arcs(rng, x, y):
    """A closed outline of six vertices with one or two bulges."""
    w, h = rng.uniform(40, 80), rng.uniform(30, 70)
    x0, y0 = x + 10, y + 10
    points = [(x0, y0, 0), (x0 + w, y0, 0), (x0 + w, y0 + h / 2, 0),
              (x0 + w * 0.7, y0 + h, 0), (x0 + w * 0.3, y0 + h, 0), (x0, y0 + h / 2, 0)]
    points = [(mm(px), mm(py), b) for px, py, b in points]
    arcs = rng.sample(range(6), rng.choice((1, 2)))
    return [(px, py, round(rng.uniform(-0.6, 0.6), 6) if k in arcs else 0)
            for k, (px, py, _) in enumerate(points)]


def refused(rng, x, y):
    """A closed quadrilateral with a side of 2: size 5 needs 10."""
    w = rng.uniform(30, 80)
    return [(mm(x + 10), mm(y + 10), 0), (mm(x + 10 + w), mm(y + 10), 0),
            (mm(x + 10 + w), mm(y + 12), 0), (mm(x + 10), mm(y + 12), 0)]


def add_outline(msp, rng, x, y, kind, attribs):
    """An outline of lines (and an arc) whose ends meet; each piece drawn
    backwards with probability 1/4."""
    w, h = mm(rng.uniform(40, 80)), mm(rng.uniform(30, 70))
    x0, y0 = mm(x + 10), mm(y + 10)
    x1, y1 = mm(x0 + w), mm(y0 + h)

    def line(a, b):
        if rng.random() < 0.25:
            a, b = b, a
        msp.add_line(a, b, dxfattribs=attribs)

    if kind == "rounded":
        r = 8.0
        line((x0, y0), (x1, y0))
        line((x1, y0), (x1, mm(y1 - r)))
        msp.add_arc((mm(x1 - r), mm(y1 - r)), r, 0, 90, dxfattribs=attribs)
        line((mm(x1 - r), y1), (x0, y1))
        line((x0, y1), (x0, y0))
    elif kind == "rectangle":
        line((x0, y0), (x1, y0))
        line((x1, y0), (x1, y1))
        line((x1, y1), (x0, y1))
        line((x0, y1), (x0, y0))
    else:
        line((x0, y1), (x0, y0))
        line((x0, y0), (x1, y0))
        line((x1, y0), (x1, y1))


def drawing(path, scale=1.0):
    rng = random.Random(SEED)
    polylines, outlines, texts = (int(n * scale) for n in (POLYLINES, OUTLINES, NOTES))
    doc = ezdxf.new("R2000")
    for name, colour in (("parts", 1), ("outline", 3), ("notes", 5)):
        doc.layers.add(name, color=colour)
    msp = doc.modelspace()
    parts = {"layer": "parts"}
    for i in range(polylines):
        x, y = cell(i)
        draw = rng.random()
        if draw < 0.70:
            msp.add_lwpolyline(pentagon(rng, x, y), format="xyb", close=True, dxfattribs=parts)
        elif draw < 0.85:
            msp.add_lwpolyline(open_zigzag(rng, x, y), format="xyb", close=False,
                               dxfattribs=parts)
        elif draw < 0.95:
            msp.add_lwpolyline(with_arcs(rng, x, y), format="xyb", close=True, dxfattribs=parts)
        else:
            msp.add_lwpolyline(refused(rng, x, y), format="xyb", close=True, dxfattribs=parts)
    outline = {"layer": "outline"}
    for i in range(outlines):
        x, y = cell(polylines + i)
        draw = rng.random()
        kind = "rounded" if draw < 0.6 else "rectangle" if draw < 0.9 else "open"
        add_outline(msp, rng, x, y, kind, outline)
    notes = {"layer": "notes"}
    for i in range(texts):
        x, y = cell(rng.randrange(polylines))
        msp.add_circle((mm(x + 5), mm(y + 5)), 2.5, dxfattribs=notes)
        msp.add_text("P%d" % i, dxfattribs=dict(notes, insert=(mm(x + 2), mm(y + 2)),
                                                 height=2.5))
    doc.saveas(path)


def big(path):
    """A regular polygon of 10^6 vertices on a circle of radius 10^6: each
    side is 2 pi long, shorter than the 10 that size 5 needs."""
    count = 1000000
    radius = 1e6
    points = [(radius * math.cos(2 * math.pi * k / count),
               radius * math.sin(2 * math.pi * k / count)) for k in range(count)]
    doc = ezdxf.new("R2000")
    doc.modelspace().add_lwpolyline(points, format="xy", close=True)
    doc.saveas(path)


def polylines(path, count=20000, seed=SEED, version="R2010"):
    """Closed five-point outlines only: the cost of a drawing made of
    polylines is the cost of its corners."""
    rng = random.Random(seed)
    doc = ezdxf.new(version)
    doc.layers.add("parts", color=1)
    msp = doc.modelspace()
    for i in range(count):
        x, y = cell(i)
        msp.add_lwpolyline(pentagon(rng, x, y), format="xyb", close=True,
                           dxfattribs={"layer": "parts"})
    doc.saveas(path)


def folder(path, count=200):
    """A shop's folder: 200 drawings of 1 to 5 MB in a few subfolders,
    polylines only or the full mix, from a fixed seed."""
    import os
    rng = random.Random(SEED)
    for k in range(count):
        sub = os.path.join(path, "job%02d" % (k % 8))
        os.makedirs(sub, exist_ok=True)
        megabytes = rng.uniform(1, 5)
        name = os.path.join(sub, "part%03d.dxf" % k)
        if k % 2 == 0:
            polylines(name, int(megabytes * 5000), seed=SEED + k, version="R2000")
        else:
            drawing(name, megabytes / 100)


def main():
    kinds = ("drawing", "big", "polylines", "folder")
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in kinds:
        sys.exit(__doc__)
    if sys.argv[1] == "big":
        big(sys.argv[2])
    elif sys.argv[1] == "polylines":
        polylines(sys.argv[2])
    elif sys.argv[1] == "folder":
        folder(sys.argv[2])
    else:
        drawing(sys.argv[2], float(sys.argv[3]) if len(sys.argv) == 4 else 1.0)


if __name__ == "__main__":
    main()
