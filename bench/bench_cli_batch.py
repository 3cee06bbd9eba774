#!/usr/bin/env python3
"""sarvik batch throughput: `sarvik info` on 64 virtual cameras (127.0.36.1 to .64, one looped frame at
1 Hz so the cameras cost little), once as 64 runs one after the other and once as
`sarvik batch --jobs 16` (and the default --jobs 4). Prints the wall time of each and the speed-up.

usage: bench_cli_batch.py [BUILD]   (default build/bench; needs BUILD/bin/sarvik and sarvik-vcam)
"""

import os
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "bench"))
SARVIK = os.path.join(BUILD, "bin", "sarvik")
VCAM = os.path.join(BUILD, "bin", "sarvik-vcam")
CAMERAS = ["127.0.36.%d" % i for i in range(1, 65)]


def listening(ip):
    try:
        with socket.create_connection((ip, 55502), timeout=0.2):
            return True
    except OSError:
        return False


def start_cameras():
    procs = [subprocess.Popen([VCAM, "--ip", ip, "--scene-loop", "1", "--fps", "1", "--lifetime", "300"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) for ip in CAMERAS]
    deadline = time.monotonic() + 30
    waiting = list(CAMERAS)
    while waiting and time.monotonic() < deadline:
        waiting = [ip for ip in waiting if not listening(ip)]
        if waiting:
            time.sleep(0.1)
    if waiting:
        stop(procs)
        sys.exit("cameras not listening: %s" % ", ".join(waiting))
    return procs


def stop(procs):
    for p in procs:
        p.terminate()
    for p in procs:
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def timed(argv):
    t = time.perf_counter()
    r = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=600)
    return time.perf_counter() - t, r


def main():
    procs = start_cameras()
    try:
        with tempfile.TemporaryDirectory(dir=BUILD) as tmp:
            timed([SARVIK, "info", CAMERAS[0]])  # page the program in once
            t_seq = 0.0
            for ip in CAMERAS:
                t, r = timed([SARVIK, "info", ip])
                if r.returncode != 0:
                    sys.exit("sarvik info %s failed (%d)" % (ip, r.returncode))
                t_seq += t
            print("sarvik info, 64 cameras one after the other: %7.2f s" % t_seq)
            for jobs in (16, 4):
                t, r = timed([SARVIK, "batch", "--jobs", str(jobs), "--cameras", ",".join(CAMERAS),
                              "--save", os.path.join(tmp, "info-{ip}.json"), "info"])
                if r.returncode != 0 or b"64 ok, 0 failed" not in r.stdout:
                    sys.exit("sarvik batch --jobs %d failed (%d)" % (jobs, r.returncode))
                print("sarvik batch --jobs %-2d info, 64 cameras:     %7.2f s  (%.1fx faster)"
                      % (jobs, t, t_seq / t if t > 0 else 0))
    finally:
        stop(procs)


if __name__ == "__main__":
    main()
