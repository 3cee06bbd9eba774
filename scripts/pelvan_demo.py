#!/usr/bin/python3
"""The desktop tool pelvan with three virtual cameras.

With a display (DISPLAY set): opens the window for you and waits until you close it.
Without one: runs under Xvfb for a few seconds, opens a camera, draws measurement items, takes a snapshot
and a short recording through the window's own controls, opens that camera's configuration dialog and sets
every camera's clock from the batch page, and leaves screenshots and files in <build>/demo-out/pelvan/.
--update-docs also copies the "live with items" screenshot to docs/pelvan.png, the dialog's to
docs/pelvan-config.png and the batch page's to docs/pelvan-batch.png.

As root the cameras answer discovery inside a private network namespace and the program finds them by
itself; otherwise they listen on the host's loopback and the program gets them by --camera.

Usage: pelvan_demo.py [BUILD] [--headless] [--update-docs]
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pelvan_ui as pu  # noqa: E402

CAMERAS = [
    # (address, camera id, size, software id): the second has the motorised lens ("GS").
    ("127.0.33.11", "VCAM-DEMO-A", (384, 288), "R384-V1.2.0"),
    ("127.0.33.12", "VCAM-DEMO-B", (640, 512), "R640-GS-V2.1.0"),
    ("127.0.33.13", "VCAM-DEMO-C", (640, 512), "R640-V2.1.0"),
]
PREVIEWED = 1
HEADLESS_LIMIT_S = 75
INTERACTIVE_LIMIT_S = 3600


def start_cameras(session, build, discovery, lifetime_s):
    for ip, cam_id, size, software in CAMERAS:
        session.start_vcam(build, ip, size=size, camera_id=cam_id, software_id=software, discovery=discovery,
                           fps=25, lifetime_s=lifetime_s)


def program_args(discovery):
    if discovery:
        return []
    # Outside a private namespace the program must not search the network.
    args = ["--no-discovery"]
    for ip, _id, _size, _sw in CAMERAS:
        args += ["--camera", ip]
    return args


def interactive(build, in_netns):
    """The window on the user's own display; the program runs until its window is closed."""
    with pu.Session() as session:
        start_cameras(session, build, in_netns, INTERACTIVE_LIMIT_S + 60)
        copy = pu.PelvanCopy(build, session.path("prog"), language=1,
                             save_dir=os.path.join(os.path.abspath(build), "demo-out", "pelvan", "shots"))
        proc = copy.start(session, program_args(in_netns))
        print("pelvan is open with the cameras " + ", ".join(f"{c[1]} ({c[0]})" for c in CAMERAS) +
              f"; snapshots and recordings go to {copy.shots}. Close its window to end the demo.", flush=True)
        try:
            proc.wait(timeout=INTERACTIVE_LIMIT_S)
        except subprocess.TimeoutExpired:
            print(f"demo: ending after {INTERACTIVE_LIMIT_S} s", flush=True)
    return 0


def configuration(ui, out):
    """The previewed camera's configuration dialog, then every camera's clock set from the batch page.
    Returns the two screenshots."""
    ui.press_button("DeviceConfig")
    ui.find("dialog", ui.word("DeviceConfig"), timeout_s=15)
    cam_id = CAMERAS[PREVIEWED][1]
    id_field = ui.field("CameraBasicInfo_cameraId")
    # Added by address the camera is named by its login answer as well.
    pu.wait_until("the camera's basic information", lambda: ui.field_text(id_field) == cam_id, 15, 0.2)
    ui.park_pointer()
    config_png = ui.screenshot(os.path.join(out, "5-config.png"))
    # The dialog's own "Close", not the shutter's of the same name.
    ui.press(ui.find("button", ui.word("Close"), description="", timeout_s=5))
    pu.wait_until("the dialog to close", lambda: not ui.find_all("dialog", ui.word("DeviceConfig")), 15, 0.2)

    ui.select_tab("Config")
    for ip, _id, _size, _sw in CAMERAS:
        row = ui.table_row(r"(^|, )" + re.escape(ip) + r"(,|$)", timeout_s=15)
        box = ui.row_check_box(row)
        if box is None:
            raise pu.HarnessError(f"the batch row of {ip} has no selection check box")
        ui.set_checked(box, True)
    ui.select_tab("Network")
    ui.press_button("SetTimeMulti")
    success = ui.word("Success")

    def all_done():
        if ui.find_all("button", ui.word("Cancel")):
            return False
        rows = ui.table_rows()
        return len(rows) == len(CAMERAS) and all(ui.row_cells(r)[-1:] == [success] for r in rows)

    pu.wait_until("every camera's clock to be set", all_done, 30, 0.3)
    ui.park_pointer()
    batch_png = ui.screenshot(os.path.join(out, "6-batch.png"))
    return config_png, batch_png


def headless(build, in_netns, update_docs):
    out = os.path.join(os.path.abspath(build), "demo-out", "pelvan")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    session = pu.Session()

    # The whole run is bounded: an alarm ends it (and every process it started) if a step hangs.
    def too_long(_sig, _frame):
        raise TimeoutError(f"the demo took more than {HEADLESS_LIMIT_S} s")

    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(HEADLESS_LIMIT_S)
    try:
        start_cameras(session, build, in_netns, HEADLESS_LIMIT_S + 30)
        session.start_display()
        copy = pu.PelvanCopy(build, session.path("prog"), language=1)
        proc = copy.start(session, program_args(in_netns))
        ui = pu.Ui(session, proc.pid, language=1, timeout_s=30)

        ip, cam_id, (w, h), _sw = CAMERAS[PREVIEWED]
        # Found by discovery the rows carry the camera ids; added by address, only the addresses.
        for c in CAMERAS:
            ui.device_row(c[0], c[1] if in_netns else None, timeout_s=30)
        ui.screenshot(os.path.join(out, "1-device-list.png"))
        ui.press(ui.device_row(ip, cam_id if in_netns else None))
        ui.press_button("Play")
        pu.wait_until("frames in the window", lambda: (ui.status_value("FPS", timeout_s=2) or 0) > 0, 30, 0.5)
        canvas = ui.canvas()
        ui.screenshot(os.path.join(out, "2-live.png"))

        ui.draw("MeaTool_Rectangle", canvas, [(0.08, 0.22), (0.36, 0.55)])
        ui.draw("MeaTool_Ellipse", canvas, [(0.56, 0.5), (0.82, 0.74)])
        ui.draw("MeaTool_Polyline", canvas, [(0.1, 0.7), (0.42, 0.76)])
        ui.draw("MeaTool_Point1x1", canvas, [(0.8, 0.3)])
        ui.park_pointer()
        time.sleep(1.5)  # a few frames so that every item shows its figures
        items_png = ui.screenshot(os.path.join(out, "3-live-with-items.png"))

        ui.press_button("Snap")
        pu.wait_until("the snapshot", lambda: pu.collect_files(copy.shots, "*.jpg"), 20, 0.3)
        ui.press_button("RecordBegin")
        ui.button("RecordEnd", timeout_s=15)
        time.sleep(2)
        ui.press_button("RecordEnd")
        ui.button("RecordBegin", timeout_s=15)
        ui.press_button("Stop")
        ui.button("Play", timeout_s=15)
        ui.screenshot(os.path.join(out, "4-stopped.png"))
        config_png, batch_png = configuration(ui, out)

        files = pu.collect_files(copy.shots, "*.jpg") + pu.collect_files(copy.shots, "*.stream")
        for f in files:
            pu.wait_file_settled(f)
            shutil.copy2(f, out)
        session.end(proc, timeout_s=20)
        for f in copy.logs():
            shutil.copy2(f, out)
        if update_docs:
            size = pu.png_size(items_png)
            if size != (1200, 800):
                raise pu.HarnessError(f"{items_png} is {size[0]}x{size[1]}, not the window's 1200x800")
            for png, name in ((items_png, "pelvan.png"), (config_png, "pelvan-config.png"),
                              (batch_png, "pelvan-batch.png")):
                docs = os.path.join(pu.REPO, "docs", name)
                shutil.copy2(png, docs)
                print(f"docs: {docs}")
    finally:
        signal.alarm(0)
        session.stop()
    for f in sorted(os.listdir(out)):
        print(os.path.join(out, f))
    return 0


def main():
    def run(build, headless_run, in_netns, update_docs):
        if not in_netns:
            print("demo: cameras on the host's loopback, added with --camera (discovery needs root and a "
                  "private network namespace)", flush=True)
        if headless_run:
            return headless(build, in_netns, update_docs)
        return interactive(build, in_netns)

    return pu.demo_main(__doc__, os.path.abspath(__file__), run)


if __name__ == "__main__":
    sys.exit(main())
