#!/usr/bin/env python3
"""Times the Python module rrensen against the same call in C++ and
against ezdxf.path.fillet, in one series, on a random walk that draws.

    build/python-venv/bin/python bench/python_bench.py [--runs N] [--counts N...]
        [--fresh-memory] [--build DIR]

(after ./test.sh's python suite, or pip install . into that venv, and
cmake --build --preset default --target fillet_points). The Python calls
take turns, run after run, so that a machine that slows down slows them
all; the C++ program then makes its runs after one untimed call, as the
Python calls find a heap already grown. Prints the median and the least of N runs
of each (ezdxf's, far slower, one run in 3), and the ratios the module is
held to, of the least times, which the machine's other work can only
raise: ezdxf / rrensen (from a list), and rrensen (NumPy) / C++. Two more
calls time the reading of the points alone: the same points with the first
one NaN, which the library refuses at once.
"""

import argparse
import math
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import rrensen

SIZE = 1.0

# An outline takes about 400 bytes per point (the segments, the corners and
# the library's working values). glibc gives large blocks back to the system
# when they are freed, and a virtual machine can charge 10 to 20 microseconds
# for each page it hands out again: then a fresh process's calls time page
# faults, not filleting, and a process whose heap happens to stay fragmented
# is faster. This script and the C++ program both keep their freed memory
# (glibc's tunables, set here and inherited), so that the two compare the
# same work; --fresh-memory leaves glibc's defaults.
KEEP_MEMORY = {"MALLOC_MMAP_THRESHOLD_": "4294967296", "MALLOC_TRIM_THRESHOLD_": "4294967296"}


def walk(count, seed=1):
    """A walk with sides of 3 to 10 units and turns of up to 120 degrees
    either way (a few under 10, which become chords): it draws with size 1."""
    rng = random.Random(seed)
    x = y = heading = 0.0
    points = [(x, y)]
    for _ in range(count - 1):
        length = rng.uniform(3, 10)
        x += length * math.cos(heading)
        y += length * math.sin(heading)
        points.append((x, y))
        heading += rng.choice((rng.uniform(-2.1, 2.1), rng.uniform(-0.15, 0.15)))
    return points


def seconds(call):
    start = time.perf_counter()
    call()
    return time.perf_counter() - start


def cpp_seconds(program, array, runs):
    """The median and the least of `runs` calls of rrensen::Fillet in C++ on
    the points of `array`, timed by the program itself."""
    with tempfile.NamedTemporaryFile(suffix=".f64") as file:
        file.write(array.tobytes())
        file.flush()
        out = subprocess.run([str(program), file.name, str(SIZE), "open", str(runs)],
                             capture_output=True, text=True, check=True).stdout.split()
    assert out[4:] == ["result", "0", "segments", str(2 * len(array) - 3)], out
    return float(out[1]), float(out[3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--counts", type=int, nargs="+", default=[100_000, 1_000_000],
                        help="numbers of points (ezdxf runs on the first only)")
    parser.add_argument("--fresh-memory", action="store_true",
                        help="let the C library give freed memory back to the system (see KEEP_MEMORY)")
    parser.add_argument("--build", default=str(Path(__file__).resolve().parents[1] / "build" / "default"),
                        help="the CMake build with bench/fillet_points")
    args = parser.parse_args()
    if not args.fresh_memory and any(os.environ.get(k) != v for k, v in KEEP_MEMORY.items()):
        os.execve(sys.executable, [sys.executable] + sys.argv, {**os.environ, **KEEP_MEMORY})
    import numpy as np

    program = Path(args.build) / "bench" / "fillet_points"
    try:
        import ezdxf
        from ezdxf.math import Vec3
        from ezdxf.path import fillet as ezdxf_fillet
    except ImportError:
        ezdxf = None
    ezdxf_runs = max(1, args.runs // 3)
    print(f"rrensen {rrensen.__version__}, Python {sys.version.split()[0]}, NumPy {np.__version__}, "
          f"ezdxf {ezdxf.__version__ if ezdxf else 'not installed'}; {args.runs} runs "
          f"(ezdxf: {ezdxf_runs}); freed memory {'given back' if args.fresh_memory else 'kept'}")
    for count in args.counts:
        points = walk(count)
        array = np.array(points, dtype=np.float64)
        outline = rrensen.fillet(array, SIZE, closing="open")
        assert outline and len(outline.segments) == 2 * count - 3, outline
        vectors = [Vec3(x, y, 0) for x, y in points] if ezdxf and count == args.counts[0] else None
        # The Python calls take turns, run after run, so that a machine that
        # slows down slows them all; the C++ program's runs follow.
        # The same points with the first one NaN: the library refuses them
        # at once, so that these calls time the reading of the points.
        unreadable = [(math.nan, math.nan)] + points[1:]
        unreadable_array = np.array(unreadable)
        assert rrensen.fillet(unreadable_array, SIZE, closing="open").problem.point == 0
        times = {"list": [], "numpy": [], "numpy+segments": [], "ezdxf": [], "read list": [], "read numpy": []}
        for run in range(args.runs):
            times["list"].append(seconds(lambda: rrensen.fillet(points, SIZE, closing="open")))
            times["numpy"].append(seconds(lambda: rrensen.fillet(array, SIZE, closing="open")))
            times["read list"].append(seconds(lambda: rrensen.fillet(unreadable, SIZE, closing="open")))
            times["read numpy"].append(seconds(lambda: rrensen.fillet(unreadable_array, SIZE, closing="open")))
            times["numpy+segments"].append(
                seconds(lambda: list(rrensen.fillet(array, SIZE, closing="open").segments)))
            if vectors and run < ezdxf_runs:
                times["ezdxf"].append(seconds(lambda: ezdxf_fillet(vectors, SIZE)))
        cpp_median, cpp_least = cpp_seconds(program, array, args.runs)
        median = {name: statistics.median(t) for name, t in times.items() if t}
        least = {name: min(t) for name, t in times.items() if t}
        median["C++"], least["C++"] = cpp_median, cpp_least
        print(f"{count} points, seconds: median (least)")
        for name, label in [("list", "rrensen.fillet(list of tuples)"), ("numpy", "rrensen.fillet(NumPy array)"),
                            ("numpy+segments", "the same, then list(outline.segments)"),
                            ("C++", "rrensen::Fillet in C++"), ("ezdxf", "ezdxf.path.fillet"),
                            ("read list", "rrensen.fillet(list), refused at point 0"),
                            ("read numpy", "rrensen.fillet(NumPy), refused at point 0")]:
            if name in median:
                print(f"  {label:<42} {median[name]:9.4f} ({least[name]:.4f})")
        line = (f"  ratios of the least: numpy / C++ = {least['numpy'] / least['C++']:.2f}, "
                f"list / C++ = {least['list'] / least['C++']:.2f}")
        if "ezdxf" in least:
            line += (f", ezdxf / rrensen(list) = {least['ezdxf'] / least['list']:.0f}, "
                     f"ezdxf / rrensen(numpy) = {least['ezdxf'] / least['numpy']:.0f}")
        print(line)


if __name__ == "__main__":
    main()
