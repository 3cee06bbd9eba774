#!/usr/bin/python3
"""The dual-light tool under load, measured from outside through its window (Xvfb, AT-SPI): a 640x512 thermal
camera at 50 frames/s and the fake visible camera set to 1280x1024 at 30 frames/s (--vis-param), both shown
and recorded together for QELM_BENCH_SECONDS (default 30). Reports per side the frames shown and skipped
(the devices' log lines at stop) and the rate the state bar showed, the process's CPU share over the
recording, and the bytes written per second to the two files against the two raw streams.

The visible camera needs a private network namespace (root); without one the benchmark is skipped.

Usage: bench_qelm.py BUILD
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pelvan_ui as pu  # noqa: E402
from bench_pelvan import CLK_TCK, cpu_ticks  # noqa: E402

IR_IP, VIS_IP = "127.0.35.13", "127.0.35.14"
IR_SIZE, IR_FPS = (640, 512), 50
VIS_SIZE, VIS_FPS = (1280, 1024), 30
RAW_BYTES_S = IR_SIZE[0] * IR_SIZE[1] * 2 * IR_FPS + VIS_SIZE[0] * VIS_SIZE[1] * VIS_FPS


def median(values):
    v = sorted(values)
    return v[len(v) // 2] if v else float("nan")


def size_or_zero(path):
    try:
        return os.path.getsize(path)
    except OSError:
        return 0


def run(session, build, seconds):
    session.start_vcam(build, IR_IP, size=IR_SIZE, fps=IR_FPS, lifetime_s=int(seconds) + 300)
    session.start_fake_vis(VIS_IP, lifetime_s=int(seconds) + 300)
    copy = pu.QelmCopy(build, session.path("prog"), language=1, ir_ip=IR_IP, vis_ip=VIS_IP)
    proc = copy.start(session, ["--vis-param", f"Width={VIS_SIZE[0]}", "--vis-param", f"Height={VIS_SIZE[1]}",
                                "--vis-param", f"AcquisitionFrameRate={VIS_FPS}"])
    ui = pu.Ui(session, proc.pid, language=1, timeout_s=60, tool="Qelm")
    win = pu.QelmWindow(ui)
    win.start_cameras()
    time.sleep(3)
    ui.park_pointer()
    results = os.path.join(build, "results")
    os.makedirs(results, exist_ok=True)
    ui.screenshot(os.path.join(results, "qelm-live.png"))

    base = win.start_record()
    files = (base + ".stream", base + ".vis")
    # One read of the two rate texts a second: walking the whole tree would load the program measured.
    ir_node, vis_node = win.fps_nodes()
    rates = {"IR": [], "VIS": []}
    t0, c0 = time.monotonic(), cpu_ticks(proc.pid)
    sizes0 = [size_or_zero(f) for f in files]
    deadline = t0 + seconds
    while time.monotonic() < deadline:
        time.sleep(1)
        for side, node in (("IR", ir_node), ("VIS", vis_node)):
            v = ui.status_number(node)
            if v is not None:
                rates[side].append(v)
        if proc.poll() is not None:
            raise pu.HarnessError(f"qelm ended with {proc.returncode} while recording")
    t1, c1 = time.monotonic(), cpu_ticks(proc.pid)
    sizes1 = [size_or_zero(f) for f in files]
    win.stop_record()
    win.stop_cameras()

    ended = pu.wait_until("both devices' lines at the end of their previews",
                          lambda: (t := copy.log_text()) and pu.QELM_IR_ENDED.search(t) and
                          pu.QELM_VIS_ENDED.search(t) and t, 20, 0.5)
    log_text = ended
    session.end(proc, timeout_s=30)
    kept_log = os.path.join(results, "qelm-bench.log")
    with open(kept_log, "w") as f:
        f.write(copy.log_text())
    ir_end, vis_end = pu.QELM_IR_ENDED.search(log_text), pu.QELM_VIS_ENDED.search(log_text)

    for f in files:
        pu.wait_file_settled(f)
    vis_size = pu.vis_header(files[1])
    ir_frames = pu.check_stream(files[0], *IR_SIZE)
    vis_frames = pu.check_vis(files[1], *vis_size)
    stamps = pu.vis_stamps(files[1], *vis_size, (0, vis_frames - 1))
    vis_rate = (vis_frames - 1) / ((stamps[1] - stamps[0]) / 1e7) if vis_frames > 1 and stamps[1] > stamps[0] \
        else float("nan")
    # What the program and the camera said of the visible settings.
    notes = [l.strip() for l in log_text.splitlines()
             if "VIS/VISDevice" in l and ("working" in l or "refused" in l) or "settings refused" in l]
    for f in files:
        os.remove(f)  # gigabytes: not kept
    window = t1 - t0
    return {
        "window": window, "cpu": 100.0 * (c1 - c0) / CLK_TCK / window,
        "written": [(b - a) / window for a, b in zip(sizes0, sizes1)],
        "rates": rates, "ir_end": ir_end.groups(), "vis_end": vis_end.groups(),
        "vis_size": vis_size, "ir_frames": ir_frames, "vis_frames": vis_frames, "vis_rate": vis_rate,
        "notes": notes, "log": kept_log,
    }


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    seconds = float(os.environ.get("QELM_BENCH_SECONDS", "30"))
    try:
        pu.require_tools("Xvfb", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher", "xdotool", "ss",
                         "arv-fake-gv-camera-0.8")
        import gi
        gi.require_version("Atspi", "2.0")
    except (pu.Unavailable, ImportError, ValueError) as e:
        print(f"qelm benchmark skipped: {e}")
        return 0
    if not pu.enter_private_netns([os.path.abspath(__file__), build]):
        print("qelm benchmark skipped: the visible camera needs a private network namespace (run as root)")
        return 0
    with pu.Session() as session:
        session.start_display()
        r = run(session, build, seconds)

    ir_w, vis_w = r["written"]
    print()
    print(f"qelm, thermal {IR_SIZE[0]}x{IR_SIZE[1]} at {IR_FPS} Hz and visible {VIS_SIZE[0]}x{VIS_SIZE[1]} at "
          f"{VIS_FPS} Hz asked, shown and recorded together ({r['window']:.0f} s)")
    print(f"  {'visible picture delivered':44} {r['vis_size'][0]}x{r['vis_size'][1]}, "
          f"{r['vis_rate']:.1f} frames/s (time stamps of the file)")
    for side, end in (("thermal", r["ir_end"]), ("visible", r["vis_end"])):
        key = "IR" if side == "thermal" else "VIS"
        rates = r["rates"][key]
        low, high = (min(rates), max(rates)) if rates else (float("nan"), float("nan"))
        print(f"  {side + ' state bar rate (median, min..max)':44} {median(rates):8.1f} /s  ({low:.1f}..{high:.1f})")
        print(f"  {side + ' frames shown / skipped (whole preview)':44} {int(end[0]):8d} / {end[1]}")
    print(f"  {'frames in the files (thermal / visible)':44} {r['ir_frames']:8d} / {r['vis_frames']}")
    print(f"  {'CPU share of the process (one core = 100 %)':44} {r['cpu']:8.1f} %")
    print(f"  {'bytes written per second: .stream + .vis':44} {(ir_w + vis_w) / 1e6:8.1f} MB/s  ({ir_w / 1e6:.1f} + "
          f"{vis_w / 1e6:.1f})")
    print(f"  {'raw streams (640x512x2x50 + 1280x1024x30)':44} {RAW_BYTES_S / 1e6:8.1f} MB/s  "
          f"(written: {100.0 * (ir_w + vis_w) / RAW_BYTES_S:.0f} %)")
    for n in r["notes"][:5]:
        print(f"  log: {n}")
    print(f"  (the program's log: {r['log']})")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (pu.HarnessError, pu.Unavailable) as e:
        print(f"qelm benchmark failed: {e}", file=sys.stderr)
        sys.exit(1)
