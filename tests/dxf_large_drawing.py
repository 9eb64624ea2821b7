#!/usr/bin/python3
"""rrensen-dxf on a drawing larger than 256 MiB, written into a fresh
temporary folder and removed after: it fillets every polyline, in a peak
memory under 64 MiB (the drawing streams, held an entity at a time).

usage: dxf_large_drawing.py PATH/TO/rrensen-dxf
"""

import os
import resource
import subprocess
import sys
import tempfile

HEADER = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
FOOTER = "  0\nENDSEC\n  0\nEOF\n"
TARGET_BYTES = 260 << 20
PEAK_BYTES = 64 << 20


def polyline(k):
    """A closed square 10 units wide, one of a grid."""
    x, y = (k % 1000) * 20, (k // 1000) * 20
    points = [(x, y), (x + 10, y), (x + 10, y + 10), (x, y + 10)]
    text = "  0\nLWPOLYLINE\n  8\noutline\n 90\n4\n 70\n1\n"
    return text + "".join(f" 10\n{px}.0\n 20\n{py}.0\n" for px, py in points)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "large.dxf")
        count = 0
        with open(path, "w") as out:
            out.write(HEADER)
            written = len(HEADER)
            block = "".join(polyline(k) for k in range(10000))
            while written < TARGET_BYTES:
                out.write(block)
                written += len(block)
                count += 10000
            out.write(FOOTER)
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        run = subprocess.run([tool, "-c", "1", path], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, text=True)
        peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    failures = []
    said = f"rrensen-dxf: {count} polylines filleted, 0 partly, 0 left unchanged\n"
    if run.returncode != 0 or run.stderr != said:
        failures.append(f"status {run.returncode}, said {run.stderr!r}, not {said!r}")
    if before * 1024 >= PEAK_BYTES:
        failures.append("an earlier child already took the peak; measure alone")
    if peak >= PEAK_BYTES:
        failures.append(f"peak memory {peak >> 20} MiB, not under {PEAK_BYTES >> 20} MiB")
    print(f"{written >> 20} MiB, {count} polylines, peak memory {peak >> 20} MiB")
    for failure in failures:
        print(failure)
    print(f"{0 if failures else 1} passed, {len(failures) > 0:d} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
