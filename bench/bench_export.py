#!/usr/bin/env python3
"""sarvik export throughput: a 1000-frame 640x512 stream recorded from a virtual camera sending as fast as it
is read (--fps 0), then `sarvik export --format tiff32` and `--format csv` timed against `cp` of the same
file (the disk and page-cache floor). Prints frames/s, MB/s of input read and output written, and the
ratio to cp.

usage: bench_export.py [BUILD]   (default build/bench; needs BUILD/bin/sarvik, sarvik-vcam, lib/libSarvikSDK.so)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "bench"))
sys.path.insert(0, os.path.join(ROOT, "python"))
os.environ.setdefault("SARVIK_LIB", os.path.join(BUILD, "lib", "libSarvikSDK.so"))
sys.path.insert(0, os.path.join(ROOT, "tests", "python"))

import sarvik  # noqa: E402
from vcam import Vcam  # noqa: E402

IP = "127.0.0.118"
W, H, FRAMES = 640, 512, 1000
N = W * H
PREFIX, FRAME = 4 * N + 1216, 2 * N + 128


def record(path):
    os.environ["SARVIK_VCAM"] = os.path.join(BUILD, "bin", "sarvik-vcam")
    cam = Vcam(IP, "--size", "%dx%d" % (W, H), "--fps", "0", "--scene-loop", "50", lifetime=300)
    try:
        with sarvik.Camera(IP) as c, c.frames(timeout=10, record=path) as live:
            deadline = time.monotonic() + 240
            for _ in live:
                if os.path.getsize(path) >= PREFIX + FRAMES * FRAME or time.monotonic() > deadline:
                    break
    finally:
        cam.stop()
    if os.path.getsize(path) < PREFIX + FRAMES * FRAME:
        sys.exit("recorded only %d frames" % ((os.path.getsize(path) - PREFIX) // FRAME))
    os.truncate(path, PREFIX + FRAMES * FRAME)


def timed(argv):
    t = time.perf_counter()
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - t


def folder_bytes(folder):
    return sum(os.path.getsize(os.path.join(folder, f)) for f in os.listdir(folder))


def main():
    with tempfile.TemporaryDirectory(dir=os.path.join(BUILD)) as tmp:
        src = os.path.join(tmp, "bench.stream")
        record(src)
        size = os.path.getsize(src)
        best_cp = min(timed(["cp", src, os.path.join(tmp, "copy%d.stream" % i)]) for i in range(3))
        print("sarvik export, %d frames %dx%d, input %.1f MB" % (FRAMES, W, H, size / 1e6))
        print("%-8s %9s %10s %10s %10s %8s" % ("format", "time s", "frames/s", "in MB/s", "out MB/s", "x cp"))
        print("%-8s %9.3f %10.0f %10.1f %10.1f %8.2f" % ("cp", best_cp, FRAMES / best_cp, size / best_cp / 1e6,
                                                         size / best_cp / 1e6, 1.0))
        for fmt in ("tiff32", "csv"):
            out = os.path.join(tmp, fmt)
            t = timed([os.path.join(BUILD, "bin", "sarvik"), "export", src, "--format", fmt, "--out", out])
            written = folder_bytes(out)
            print("%-8s %9.3f %10.1f %10.1f %10.1f %8.2f" % (fmt, t, FRAMES / t, size / t / 1e6,
                                                             written / t / 1e6, t / best_cp))
            shutil.rmtree(out)


if __name__ == "__main__":
    main()
