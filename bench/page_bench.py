#!/usr/bin/python3
"""Measures the page in headless Chromium: the sizes of the module and the
page, how soon the page gets ready, and a 10 MB DXF filleted by
rrensen.filletDxf in the page against rrensen-dxf natively (the same bytes),
then opened and redrawn in the page. docs/performance.md quotes its figures.
Run by hand, after the default and web builds:

    /usr/bin/python3 bench/page_bench.py --web build/web --native build/default/src

It drives the page with web/page_test.py's helpers, and prints one line per
figure; it exits with 1 if the page's bytes are not rrensen-dxf's.
"""

import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web"))
from page_test import Native, Page, browser, serve  # noqa: E402


def make_big_dxf(path, target_bytes):
    """An R2000 DXF of about `target_bytes`: LWPOLYLINEs of 12 vertices
    (a few too small for the size used, so that they are left unchanged),
    and some R12 polylines."""
    rng = random.Random(7)
    entities = []
    size = 0
    handle = 0x100
    while size < target_bytes:
        cx, cy = rng.uniform(0, 10000), rng.uniform(0, 10000)
        scale = 0.5 if rng.random() < 0.02 else rng.uniform(20, 60)
        # A twelve-cornered outline: a cross of arms scale/2 wide.
        shape = [(-1, -3), (1, -3), (1, -1), (3, -1), (3, 1), (1, 1), (1, 3), (-1, 3), (-1, 1), (-3, 1),
                 (-3, -1), (-1, -1)]
        handle += 1
        if rng.random() < 0.1:
            lines = ["0", "POLYLINE", "5", format(handle, "X"), "8", "r12", "66", "1", "10", "0.0", "20", "0.0",
                     "30", "0.0", "70", "1"]
            for x, y in shape:
                handle += 1
                lines += ["0", "VERTEX", "5", format(handle, "X"), "8", "r12", "10", repr(cx + x * scale / 2),
                          "20", repr(cy + y * scale / 2), "30", "0.0"]
            handle += 1
            lines += ["0", "SEQEND", "5", format(handle, "X"), "8", "r12"]
        else:
            lines = ["0", "LWPOLYLINE", "5", format(handle, "X"), "100", "AcDbEntity", "8", "outline", "100",
                     "AcDbPolyline", "90", "12", "70", "1"]
            for x, y in shape:
                lines += ["10", repr(round(cx + x * scale / 2, 6)), "20", repr(round(cy + y * scale / 2, 6))]
        text = "\n".join(lines) + "\n"
        entities.append(text)
        size += len(text)
    header = ("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n" + format(handle + 1, "X") +
              "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n")
    with open(path, "w", newline="\n") as f:
        f.write(header + "".join(entities) + "0\nENDSEC\n0\nEOF\n")


def native_seconds(native, path, runs):
    """The least wall time of `rrensen-dxf PATH -c 1` with its report, the
    bytes it wrote and its status."""
    times = []
    with tempfile.TemporaryDirectory() as folder:
        out, report = os.path.join(folder, "out.dxf"), os.path.join(folder, "report.jsonl")
        for _ in range(runs):
            start = time.perf_counter()
            status = subprocess.run([native.dxf, path, "-c", "1", "-o", out, "--report", report],
                                    capture_output=True).returncode
            times.append(time.perf_counter() - start)
        return min(times), open(out, "rb").read(), status


def measure_large_dxf(page, native, work, origin):
    """A 10 MB DXF: rrensen-dxf natively against rrensen.filletDxf in the
    page, and the page opening and redrawing it. False if the bytes differ."""
    path = os.path.join(work, "big.dxf")
    make_big_dxf(path, 10 * 1024 * 1024)
    megabytes = os.path.getsize(path) / 1024 / 1024
    native_time, output, status = native_seconds(native, path, 3)
    result = page.driver.execute_async_script("""
      const done = arguments[arguments.length - 1];
      (async () => {
        const bytes = new Uint8Array(await (await fetch(arguments[0])).arrayBuffer());
        const times = [];
        let run;
        for (let k = 0; k < 3; ++k) {
          const start = performance.now();
          run = rrensen.filletDxf(bytes, {size: 1});
          times.push(performance.now() - start);
        }
        const digest = await crypto.subtle.digest('SHA-256', run.dxf);
        const hash = Array.from(new Uint8Array(digest), b => b.toString(16).padStart(2, '0')).join('');
        done({times, hash, status: run.status});
      })().catch(e => done({error: String(e)}));""", origin + "/test-data/big.dxf")
    same = result.get("hash") == hashlib.sha256(output).hexdigest() and result.get("status") == status
    if not same:
        print("the page's bytes are not rrensen-dxf's: " + str(result)[:300])
    browser_time = min(result.get("times", [0])) / 1000
    print(f"{megabytes:.1f} MB DXF filleted (-c 1): native {native_time * 1000:.0f} ms, "
          f"in the page {browser_time * 1000:.0f} ms, {browser_time / native_time:.2f}x native")
    start = time.perf_counter()
    page.open_file(path, timeout=120)
    open_seconds = time.perf_counter() - start
    before = page.draws()
    start = time.perf_counter()
    page.js("const f = document.getElementById('size'); f.value = '1.5';"
            "f.dispatchEvent(new Event('input', {bubbles: true}));")
    page.wait_redraw(before, 120)
    redraw_seconds = time.perf_counter() - start
    print(f"{megabytes:.1f} MB DXF opened and drawn in the page in {open_seconds * 1000:.0f} ms, "
          f"redrawn at a new size in {redraw_seconds * 1000:.0f} ms")
    steps = page.js("return performance.getEntriesByType('measure').filter(m => m.name.startsWith('rrensen: '))"
                    ".slice(-4).map(m => m.name.slice(9) + ' ' + Math.round(m.duration) + ' ms')")
    print("the redraw's steps: " + ", ".join(steps))
    return same


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--web", default="build/web", help="the web preset's build folder")
    parser.add_argument("--native", default="build/default/src", help="the native programs' folder")
    args = parser.parse_args()
    native = Native(args.native)
    site = os.path.join(args.web, "site")
    single = os.path.abspath(os.path.join(args.web, "rrensen.html"))
    files = {n: os.path.getsize(os.path.join(site, n)) for n in sorted(os.listdir(site))
             if os.path.isfile(os.path.join(site, n))}
    size = sum(files.values())
    print(f"module and page {size / 1024:.0f} KiB ({size} bytes, "
          + ("within" if size < 500 * 1000 else "OVER") + " the 500 KB budget: "
          + ", ".join(f"{n} {b}" for n, b in files.items()) + ")")
    print(f"single file rrensen.html {os.path.getsize(single) / 1024:.0f} KiB")
    work = tempfile.mkdtemp(prefix="rrensen-page-bench-")
    server = serve(site, work)
    origin = f"http://127.0.0.1:{server.server_port}"
    driver = browser(work)
    page = Page(driver)
    try:
        ready = [page.open(origin + "/") for _ in range(3)]
        print("page ready (ms after navigation start; first load, then two reloads): "
              + ", ".join(f"{r:.0f}" for r in ready if r is not None))
        same = measure_large_dxf(page, native, work, origin)
        ready_single = page.open("file://" + single)
        print(f"single file ready in {ready_single:.0f} ms" if ready_single else "single file not ready")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()
        shutil.rmtree(work, ignore_errors=True)
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
