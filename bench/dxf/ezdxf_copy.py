#!/usr/bin/python3
"""Reads a DXF file with ezdxf and saves it again: the least a Python script
that fillets a drawing with ezdxf does, before any geometry.

usage: ezdxf_copy.py IN.dxf OUT.dxf
"""

import sys

import ezdxf


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    ezdxf.readfile(sys.argv[1]).saveas(sys.argv[2])


if __name__ == "__main__":
    main()
