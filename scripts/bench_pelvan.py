#!/usr/bin/python3
"""The desktop tool under load, measured from outside through its window (Xvfb, AT-SPI):

1. A 640x512 camera at 50 frames/s previewed with 30 measurement items drawn through the canvas: the window's
   frame rate (status line), the frames it skipped and its GUI-thread time per frame (the program's log line
   at the end of a preview), and the process's CPU share over the measuring window.
2. Memory: three cameras listed, one previewed; the resident size at the start and the end of N minutes
   (PELVAN_BENCH_MINUTES, default 1; 10 for the full run).

Usage: bench_pelvan.py BUILD   (PELVAN_BENCH_WINDOW_S: seconds of the measuring window, default 20)
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pelvan_ui as pu  # noqa: E402

LOAD_CAMERA = ("127.0.33.21", "VCAM-BENCH-A", (640, 512))
MEMORY_CAMERAS = [("127.0.33.22", "VCAM-BENCH-B", (640, 512)), ("127.0.33.23", "VCAM-BENCH-C", (384, 288)),
                  ("127.0.33.24", "VCAM-BENCH-D", (640, 512))]
ITEMS = 30
TOOLS = ["MeaTool_Rectangle", "MeaTool_Ellipse", "MeaTool_Polyline", "MeaTool_Point1x1"]
CLK_TCK = os.sysconf("SC_CLK_TCK")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    raise pu.HarnessError(f"no VmRSS for {pid}")


def item_points(i, tool):
    """Item i of 30 in its own cell of a 6 x 5 grid over the picture."""
    col, row = i % 6, i // 6
    x0, y0 = 0.04 + col * 0.16, 0.04 + row * 0.19
    if tool == "MeaTool_Point1x1":
        return [(x0 + 0.06, y0 + 0.07)]
    return [(x0 + 0.01, y0 + 0.02), (x0 + 0.12, y0 + 0.14)]


def start_program(session, build, name, cameras):
    args = ["--no-discovery"]
    for ip, _id, _size in cameras:
        args += ["--camera", ip]
    copy = pu.PelvanCopy(build, session.path(name), language=1)
    proc = copy.start(session, args)
    return copy, proc, pu.Ui(session, proc.pid, language=1, timeout_s=60)


def open_preview(ui, camera):
    ip, cam_id, _size = camera
    ui.press(ui.device_row(ip, timeout_s=30))
    ui.press_button("Play")
    pu.wait_until("frames in the window", lambda: (ui.status_value("FPS", timeout_s=2) or 0) > 0, 30, 0.5)
    return ui.canvas()


def load_run(session, build, window_s, results):
    ip, cam_id, size = LOAD_CAMERA
    vcam = session.start_vcam(build, ip, size=size, camera_id=cam_id, fps=50, lifetime_s=900)
    copy, proc, ui = start_program(session, build, "load", [LOAD_CAMERA])
    canvas = open_preview(ui, LOAD_CAMERA)
    for i in range(ITEMS):
        tool = TOOLS[i % len(TOOLS)]
        ui.draw(tool, canvas, item_points(i, tool))
    ui.park_pointer()
    ui.screenshot(os.path.join(results, "pelvan-items.png"))
    time.sleep(3)

    # One read of one text a second: walking the whole tree would load the program being measured.
    fps_node = ui.status_node("FPS")
    fps = []
    t0, c0 = time.monotonic(), cpu_ticks(proc.pid)
    deadline = t0 + window_s
    while time.monotonic() < deadline:
        time.sleep(1)
        v = ui.status_number(fps_node)
        if v is not None:
            fps.append(v)
    t1, c1 = time.monotonic(), cpu_ticks(proc.pid)
    cpu_share = 100.0 * (c1 - c0) / CLK_TCK / (t1 - t0)

    ui.press_button("Stop")
    ended = pu.wait_until("the program's log line at the end of the preview",
                          lambda: pu.PREVIEW_ENDED.search(copy.log_text()), 20, 0.5)
    session.end(proc, timeout_s=20)
    session.end(vcam)
    return {"fps": fps, "cpu": cpu_share, "shown": int(ended.group(1)), "skipped": int(ended.group(2)),
            "gui_ms": float(ended.group(3)), "window_s": t1 - t0}


def memory_run(session, build, minutes):
    for ip, cam_id, size in MEMORY_CAMERAS:
        session.start_vcam(build, ip, size=size, camera_id=cam_id, fps=25, lifetime_s=int(minutes * 60) + 300)
    _copy, proc, ui = start_program(session, build, "memory", MEMORY_CAMERAS)
    for ip, _id, _size in MEMORY_CAMERAS:
        ui.device_row(ip, timeout_s=30)
    open_preview(ui, MEMORY_CAMERAS[0])
    time.sleep(5)
    start = rss_mib(proc.pid)
    peak = start
    deadline = time.monotonic() + minutes * 60
    while time.monotonic() < deadline:
        time.sleep(min(10, max(0.1, deadline - time.monotonic())))
        if proc.poll() is not None:
            raise pu.HarnessError(f"pelvan ended with {proc.returncode} during the memory run")
        peak = max(peak, rss_mib(proc.pid))
    end = rss_mib(proc.pid)
    session.end(proc, timeout_s=20)
    return {"start": start, "end": end, "peak": peak, "minutes": minutes}


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    minutes = float(os.environ.get("PELVAN_BENCH_MINUTES", "1"))
    window_s = float(os.environ.get("PELVAN_BENCH_WINDOW_S", "20"))
    try:
        pu.require_tools("Xvfb", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher", "xdotool")
        import gi
        gi.require_version("Atspi", "2.0")
    except (pu.Unavailable, ImportError, ValueError) as e:
        print(f"pelvan benchmark skipped: {e}")
        return 0
    # A private namespace keeps the cameras' addresses to this run where possible; the program is given
    # its cameras by address either way and never searches.
    pu.enter_private_netns([os.path.abspath(__file__), build])
    with pu.Session() as session:
        session.start_display()
        results = os.path.join(build, "results")
        os.makedirs(results, exist_ok=True)
        load = load_run(session, build, window_s, results)
        memory = memory_run(session, build, minutes)

    fps = sorted(load["fps"])
    median = fps[len(fps) // 2] if fps else float("nan")
    print()
    print(f"pelvan, 640x512 at 50 Hz with {ITEMS} items ({load['window_s']:.0f} s window; picture "
          f"{os.path.join(results, 'pelvan-items.png')})")
    low, high = (fps[0], fps[-1]) if fps else (float("nan"), float("nan"))
    print(f"  {'window frame rate (median, min..max)':44} {median:8.1f} /s  ({low:.1f}..{high:.1f})")
    print(f"  {'frames shown / skipped (whole preview)':44} {load['shown']:8d} / {load['skipped']}")
    print(f"  {'GUI-thread time per frame':44} {load['gui_ms']:8.3f} ms")
    print(f"  {'CPU share of the process (one core = 100 %)':44} {load['cpu']:8.1f} %")
    print(f"pelvan memory, 3 cameras listed, 1 previewed, {memory['minutes']:g} min")
    print(f"  {'resident size at start / end / peak':44} {memory['start']:8.1f} / {memory['end']:.1f} / "
          f"{memory['peak']:.1f} MiB")
    print(f"  {'growth per minute':44} {(memory['end'] - memory['start']) / memory['minutes']:8.2f} MiB")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (pu.HarnessError, pu.Unavailable) as e:
        print(f"pelvan benchmark failed: {e}", file=sys.stderr)
        sys.exit(1)
