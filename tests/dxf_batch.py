"""rrensen-dxf over folders on a real disk: outputs mirror the inputs and
match single runs, a bad file fails alone, the progress line is drawn only
on a terminal, and Ctrl-C leaves finished files and nothing else.

usage: dxf_batch.py RRENSEN_DXF
"""
import os
import pty
import signal
import subprocess
import sys
import tempfile
import time

TOOL = sys.argv[1]


def drawing(polylines, seed):
    """An ENTITIES section of closed squares, each 100 wide."""
    parts = ["  0\nSECTION\n  2\nENTITIES\n"]
    for k in range(polylines):
        x, y = (k * 7 + seed) % 1000 * 200.0, k // 1000 * 200.0
        parts.append(f"  0\nLWPOLYLINE\n  5\n{k + 256:X}\n  8\n0\n 90\n4\n 70\n1\n"
                     f" 10\n{x}\n 20\n{y}\n 10\n{x + 100}\n 20\n{y}\n"
                     f" 10\n{x + 100}\n 20\n{y + 100}\n 10\n{x}\n 20\n{y + 100}\n")
    parts.append("  0\nENDSEC\n  0\nEOF\n")
    return "".join(parts)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write(text)


def single(path):
    return subprocess.run([TOOL, "-c", "5", path], capture_output=True, check=True).stdout


def scratch_files(folder):
    return [os.path.join(d, n) for d, _, names in os.walk(folder)
            for n in names if n.endswith(".rrensen-dxf-part")]


def check(condition, message):
    if not condition:
        sys.exit("FAILED: " + str(message))


with tempfile.TemporaryDirectory() as work:
    shop, out = os.path.join(work, "shop"), os.path.join(work, "out")
    names = [f"job{k % 3}/part{k}.dxf" for k in range(7)]
    for k, name in enumerate(names):
        write(os.path.join(shop, name), drawing(50 + k, k))
    write(os.path.join(shop, "job1/broken.DXF"), "  0\nSECTION\n  2\nENTITIES\n 10\nx\n")

    # Without a terminal: no progress, only the summary; the worst status.
    run = subprocess.run([TOOL, "-c", "5", "-j", "2", "-o", out, shop], capture_output=True)
    check(run.returncode == 2, f"status {run.returncode}")
    check(b"\r" not in run.stderr, "a progress line without a terminal")
    check(run.stderr.startswith(b"rrensen-dxf: 8 files: 7 written, 1 failed\n"), run.stderr)
    for name in names:
        with open(os.path.join(out, name), "rb") as f:
            check(f.read() == single(os.path.join(shop, name)), name + " differs from its single run")
    check(not os.path.exists(os.path.join(out, "job1/broken.DXF")), "a failed file was written")
    check(not scratch_files(work), "scratch files left")

    # On a terminal: the progress line, redrawn in place, and then the summary.
    leader, follower = pty.openpty()
    process = subprocess.Popen([TOOL, "-c", "5", "-o", out, os.path.join(shop, "job0")],
                               stdout=subprocess.DEVNULL, stderr=follower)
    os.close(follower)
    shown = b""
    while True:
        try:
            piece = os.read(leader, 4096)
        except OSError:
            break
        if not piece:
            break
        shown += piece
    check(process.wait() == 0, "status on a terminal")
    check(shown.startswith(b"\rrrensen-dxf: 0/3 files"), shown)
    check(b"\rrrensen-dxf: 3/3 files" in shown and b"3 files: 3 written, 0 failed" in shown, shown)

    # Ctrl-C: status 130; what was written is whole, nothing half-written.
    big = os.path.join(work, "big")
    for k in range(30):
        write(os.path.join(big, f"d{k:02}.dxf"), drawing(12000, k))
    stopped = os.path.join(work, "stopped")
    process = subprocess.Popen([TOOL, "-c", "5", "-j", "1", "-o", stopped, big],
                               stderr=subprocess.PIPE)
    deadline = time.time() + 60
    while not os.path.exists(os.path.join(stopped, "d00.dxf")) and time.time() < deadline:
        time.sleep(0.005)
    process.send_signal(signal.SIGINT)
    _, said = process.communicate()
    check(process.returncode == 130, f"status {process.returncode} after Ctrl-C: {said}")
    written = sorted(os.listdir(stopped))
    check(0 < len(written) < 30, f"{len(written)} files written")
    check(f"30 files: {len(written)} written, 0 failed, {30 - len(written)} not finished "
          "(interrupted)".encode() in said, said)
    for name in written:
        with open(os.path.join(stopped, name), "rb") as f:
            check(f.read() == single(os.path.join(big, name)), name + " is not whole")
    check(not scratch_files(work), "scratch files left after Ctrl-C")
print("ok")
