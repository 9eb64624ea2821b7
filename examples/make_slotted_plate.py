#!/usr/bin/python3
"""Writes examples/slotted-plate.dxf: a plate to be cut on a router, drawn in
millimetres, for the examples of reliefs and corner selection in
docs/cnc-corners.md.

The plate, 300 x 160, has a tab slot 40 wide and 30 deep cut into its lower
edge (two concave corners), a round end on its right (a half circle), two
slots through it (closed LWPOLYLINEs inside it: holes) and, inside the
second slot, a boss (inside a hole: a part again).

Needs ezdxf (Debian's python3-ezdxf).

usage: examples/make_slotted_plate.py [OUT.dxf]
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))

# (x, y, bulge), counter-clockwise; the bulge 1 is the half circle of the
# round end.
PLATE = [(0, 0, 0), (100, 0, 0), (100, 30, 0), (140, 30, 0), (140, 0, 0), (220, 0, 1),
         (220, 160, 0), (0, 160, 0)]
SLOT = [(30, 60), (80, 60), (80, 75), (30, 75)]
POCKET = [(120, 70), (200, 70), (200, 130), (120, 130)]
BOSS = [(140, 85), (180, 85), (180, 115), (140, 115)]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "slotted-plate.dxf")
    doc = ezdxf.new("R2000", setup=True)
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.layers.add("plate", color=7)
    msp = doc.modelspace()
    msp.add_lwpolyline(PLATE, format="xyb", close=True, dxfattribs={"layer": "plate"})
    for outline in (SLOT, POCKET, BOSS):
        msp.add_lwpolyline(outline, close=True, dxfattribs={"layer": "plate"})
    doc.saveas(path)


if __name__ == "__main__":
    main()
