#!/usr/bin/python3
"""End to end through the window: two virtual cameras answer discovery in a private network namespace; the
real program, under Xvfb and driven through its accessibility tree like a screen reader would, lists both,
previews one, measures a rectangle drawn with the mouse, takes a snapshot and a recording, and stops.

Usage: test_pelvan_e2e.py BUILD_DIR   (exit 77: cannot run here, e.g. not root or no Xvfb)
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pelvan_ui as pu  # noqa: E402

CAMERAS = [
    # (address, camera id, size, software id)
    ("127.0.33.1", "VCAM-E2E-A", (384, 288), "R384-V1.2.0"),
    ("127.0.33.2", "VCAM-E2E-B", (640, 512), "R640-GS-V2.1.0"),
]
# The cameras' scene: a 20..25 C background gradient and a warm disc of at most 37 C, with noise of some
# hundredths of a degree.
SCENE_MIN_C, SCENE_MAX_C = 19.8, 37.5
# The words the driver looks for come from the translations: 1 English (default), 0 Chinese.
LANGUAGE = int(os.environ.get("PELVAN_E2E_LANGUAGE", "1"))
# The driver of the running scenario, for the tree dump after a failure.
_driver = {}


def check(cond, msg):
    if not cond:
        raise pu.HarnessError(msg)


def read_measurements(ui):
    return tuple(ui.status_value(k, timeout_s=2) for k in ("Max", "Avg", "Min"))


def scenario(build, session, artefacts):
    started = time.monotonic()
    for ip, cam_id, size, software in CAMERAS:
        session.start_vcam(build, ip, size=size, camera_id=cam_id, software_id=software, discovery=True,
                           fps=25, lifetime_s=280)
    session.start_display()

    copy = pu.PelvanCopy(build, session.path("prog"), language=LANGUAGE)
    proc = copy.start(session)  # searches the namespace's network at start
    ui = pu.Ui(session, proc.pid, language=LANGUAGE, timeout_s=90)
    _driver["ui"] = ui

    # Both cameras appear in the device list, found by the search the program makes when it starts.
    rows = {}
    for ip, cam_id, _size, _sw in CAMERAS:
        rows[ip] = ui.find("row", f"{cam_id} {ip}", timeout_s=60)
    pu.log(f"device list: {sorted(r.name for r in rows.values())}")

    # The second row: the list selects the first one by itself, so the files' picture size shows that the
    # press picked this camera.
    ip, cam_id, (width, height), _sw = CAMERAS[1]
    other_ip, other_id = CAMERAS[0][0], CAMERAS[0][1]
    ui.press(ui.find("row", f"{cam_id} {ip}"))
    pu.wait_until("the pressed row to be the selected one",
                  lambda: ui.is_selected(ui.find("row", f"{cam_id} {ip}")) and
                  not ui.is_selected(ui.find("row", f"{other_id} {other_ip}")), 10)
    ui.press_button("Play")
    fps = pu.wait_until("the status line to show frames per second above 0",
                        lambda: (v := ui.status_value("FPS", timeout_s=2)) and v > 0 and v, 60, 0.5)
    pu.log(f"FPS {fps}")
    canvas = ui.canvas()
    live_png = ui.screenshot(os.path.join(artefacts, "01-live.png"))

    # A rectangle drawn with the mouse shows up in the picture as its red outline.
    box = (0.15, 0.25, 0.45, 0.75)
    ui.draw("MeaTool_Rectangle", canvas, [box[:2], box[2:]])
    time.sleep(0.5)
    items_png = ui.screenshot(os.path.join(artefacts, "02-items.png"))
    wx, wy, _ww, _wh = ui.extents(ui.window())
    cx, cy, cw, ch = ui.extents(canvas)
    rect = (cx - wx + cw * box[0], cy - wy + ch * box[1], cx - wx + cw * box[2], cy - wy + ch * box[3])
    red = lambda p: p[0] >= 180 and p[1] <= 70 and p[2] <= 70  # noqa: E731
    before, after = pu.outline_fraction(live_png, rect, red), pu.outline_fraction(items_png, rect, red)
    pu.log(f"rectangle outline: {before:.0%} of its edge points before drawing, {after:.0%} after")
    check(before < 0.2 and after > 0.8, f"no rectangle where it was drawn ({before:.0%} before, {after:.0%} "
          "after of its edge points are red)")

    # The status line measures the whole picture (the global item): the scene's background runs from 20 C
    # at its left edge to 25 C, the warm disc moves and so moves the maximum.
    def plausible():
        mx, avg, mn = read_measurements(ui)
        if None in (mx, avg, mn):
            return None
        check(SCENE_MIN_C <= mn <= SCENE_MIN_C + 0.4 and 22.0 <= avg <= 24.0 and 25.0 <= mx <= SCENE_MAX_C,
              f"measurements not plausible for the scene: Max {mx}, Avg {avg}, Min {mn}")
        return (mx, avg, mn)

    first = pu.wait_until("Max/Avg/Min values of the picture", plausible, 20, 0.5)
    pu.log(f"Max/Avg/Min {first}")
    changed = pu.wait_until("the measurements to follow the live picture",
                            lambda: (v := plausible()) is not None and v != first and v, 30, 0.5)
    pu.log(f"Max/Avg/Min later {changed}")

    ui.press_button("Snap")
    shots = pu.wait_until("a snapshot in the save folder", lambda: pu.collect_files(copy.shots, "*.jpg"),
                          20, 0.3)
    pu.wait_file_settled(shots[0])

    ui.press_button("RecordBegin")
    ui.button("RecordEnd", timeout_s=15)  # the button turns into its stop form while recording
    time.sleep(2)
    ui.press_button("RecordEnd")
    ui.button("RecordBegin", timeout_s=15)

    ui.press_button("Stop")
    pu.wait_until("the frame rate to drop to 0 after Stop", lambda: ui.status_value("FPS", timeout_s=2) == 0,
                  15, 0.3)
    ui.screenshot(os.path.join(artefacts, "03-stopped.png"))

    # The files, as the program wrote them into the configured save folder.
    shots = pu.collect_files(copy.shots, "*.jpg")
    check(len(shots) == 1, f"expected one snapshot, found {shots}")
    size = pu.check_snapshot(shots[0], width, height)
    pu.log(f"snapshot {shots[0]}: {size} bytes, tail {width}x{height}")
    streams = pu.wait_until("a recording in the save folder",
                            lambda: pu.collect_files(copy.shots, "*.stream"), 15, 0.3)
    check(len(streams) == 1, f"expected one recording, found {streams}")
    size = pu.wait_file_settled(streams[0])
    frames = pu.check_stream(streams[0], width, height)
    pu.log(f"recording {streams[0]}: {size} bytes, {frames} frames")
    shutil.copy2(shots[0], artefacts)  # the recording is tens of megabytes: not kept

    # The program ends cleanly when asked to, and its log holds no QML error; the preview's summary line
    # (which the benchmark reads) counts the frames shown.
    status = session.end(proc, timeout_s=30)
    check(status == 0, f"pelvan ended with status {status}")
    text = copy.log_text()
    ended = pu.PREVIEW_ENDED.search(text)
    check(ended and int(ended.group(1)) > 0, "no \"preview ended\" line with frames shown in the log")
    qml_errors = [l for l in text.splitlines() if ".qml:" in l and ("qrc:/" in l or "file:/" in l)]
    check(not qml_errors, "QML errors in the log:\n" + "\n".join(qml_errors[:20]))
    pu.log(f"scenario done in {time.monotonic() - started:.1f} s")


def main():
    return pu.run_e2e(__file__, "pelvan_e2e", scenario, _driver, __doc__)


if __name__ == "__main__":
    sys.exit(main())
