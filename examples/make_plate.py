#!/usr/bin/python3
"""Writes examples/plate.dxf: a mounting plate drawn in millimetres, for the
README's example of rrensen-dxf on a real drawing.

The plate's outline is one closed LWPOLYLINE, 400 x 250, with a half-round
notch of radius 40 in its lower edge and a rounded upper right corner of
radius 80: two arcs, and straight runs between them whose corners are to be
filleted. A window is cut into it (a closed LWPOLYLINE of straight sides)
and a hole of diameter 60 (a CIRCLE, which rrensen-dxf leaves alone).

Needs ezdxf (Debian's python3-ezdxf).

usage: examples/make_plate.py [OUT.dxf]
"""

import math
import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))

# (x, y, bulge), drawn counter-clockwise: the bulge -1 is a half circle
# turning clockwise, into the plate (the notch); tan(pi / 8) a quarter circle
# turning counter-clockwise, round the corner.
OUTLINE = [(0, 0, 0), (160, 0, -1.0), (240, 0, 0), (400, 0, 0),
           (400, 170, math.tan(math.pi / 8)), (320, 250, 0), (0, 250, 0)]
WINDOW = [(60, 80, 0), (180, 80, 0), (180, 180, 0), (60, 180, 0)]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "plate.dxf")
    doc = ezdxf.new("R2000", setup=True)
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.layers.add("plate", color=7)
    doc.layers.add("holes", color=1)
    msp = doc.modelspace()
    msp.add_lwpolyline(OUTLINE, format="xyb", close=True, dxfattribs={"layer": "plate"})
    msp.add_lwpolyline(WINDOW, format="xyb", close=True, dxfattribs={"layer": "plate"})
    msp.add_circle((300, 120), 30, dxfattribs={"layer": "holes"})
    doc.saveas(path)


if __name__ == "__main__":
    main()
