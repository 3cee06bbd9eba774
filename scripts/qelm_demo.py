#!/usr/bin/python3
"""The dual-light tool qelm with a virtual thermal camera and the fake visible camera.

With a display (DISPLAY set): opens the window for you with both cameras configured and waits until you close
it. Without one: runs under Xvfb, starts both cameras, records them together for a few seconds through the
window's own buttons, replays the recording on the files page (a few steps, Sync on), and leaves
screenshots of both pages, the recorded files and the log in <build>/demo-out/qelm/. --update-docs also
copies the preview page to docs/qelm.png and the files page to docs/qelm-files.png.

The visible camera listens on a loopback address that only a private network namespace may carry: as root
both cameras run inside one; otherwise only the thermal camera is there.

Usage: qelm_demo.py [BUILD] [--headless] [--update-docs]
"""

import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pelvan_ui as pu  # noqa: E402

IR_IP, VIS_IP = "127.0.35.11", "127.0.35.12"
RECORD_S = 4
HEADLESS_LIMIT_S = 150
INTERACTIVE_LIMIT_S = 3600


def start_cameras(session, in_netns, lifetime_s):
    session.start_vcam(session.build, IR_IP, size=pu.QELM_IR_SIZE, fps=25, lifetime_s=lifetime_s)
    if in_netns:
        session.start_fake_vis(VIS_IP, lifetime_s=lifetime_s)
        return VIS_IP
    return ""


def interactive(build, in_netns):
    """The window on the user's own display; the program runs until its window is closed."""
    with pu.Session() as session:
        session.build = build
        vis_ip = start_cameras(session, in_netns, INTERACTIVE_LIMIT_S + 60)
        copy = pu.QelmCopy(build, session.path("prog"), language=1, ir_ip=IR_IP, vis_ip=vis_ip,
                           save_dir=os.path.join(build, "demo-out", "qelm", "files"))
        proc = copy.start(session)
        cameras = f"the thermal camera on {IR_IP}" + (f" and the visible camera on {vis_ip}" if vis_ip else
                                                      " (no visible camera outside a private namespace)")
        print(f"qelm is open with {cameras}: Start IR, Start VIS, Start Record on the preview page; the files "
              f"page replays the last recording. Recordings go to {copy.save_dir}. Close its window to end "
              "the demo.", flush=True)
        try:
            proc.wait(timeout=INTERACTIVE_LIMIT_S)
        except subprocess.TimeoutExpired:
            print(f"demo: ending after {INTERACTIVE_LIMIT_S} s", flush=True)
    return 0


def headless(build, update_docs):
    out = os.path.join(build, "demo-out", "qelm")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    session = pu.Session()
    session.build = build

    # The whole run is bounded: an alarm ends it (and every process it started) if a step hangs.
    def too_long(_sig, _frame):
        raise TimeoutError(f"the demo took more than {HEADLESS_LIMIT_S} s")

    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(HEADLESS_LIMIT_S)
    try:
        start_cameras(session, True, HEADLESS_LIMIT_S + 30)
        session.start_display()
        copy = pu.QelmCopy(build, session.path("prog"), language=1, ir_ip=IR_IP, vis_ip=VIS_IP,
                           save_dir=out)
        proc = copy.start(session)
        ui = pu.Ui(session, proc.pid, language=1, timeout_s=60, tool="Qelm")
        win = pu.QelmWindow(ui)

        win.start_cameras()
        time.sleep(1)
        ui.park_pointer()
        preview_png = ui.screenshot(os.path.join(out, "1-preview.png"))
        base = win.start_record()
        time.sleep(RECORD_S)
        ui.park_pointer()
        ui.screenshot(os.path.join(out, "2-recording.png"))
        win.stop_record()
        win.stop_cameras()
        for f in (base + ".stream", base + ".vis"):
            pu.check(os.path.isfile(f), f"{f} was not written")
            pu.wait_file_settled(f)
        frames = (pu.check_stream(base + ".stream", *pu.QELM_IR_SIZE), pu.check_vis(base + ".vis", *pu.QELM_VIS_SIZE))

        ui.select_tab("PageFiles")
        ui.press_button("LoadLast")
        win.wait_frame_info("IR", lambda i, n: i == 1 and n > 1, "the thermal replay")
        win.wait_frame_info("VIS", lambda i, n: i == 1 and n > 1, "the visible replay")
        for _ in range(3):
            win.step("IR")
        win.wait_frame_info("IR", lambda i, n: i == 4, "the thermal replay at frame 4")
        win.sync(True)
        slider = win.slider("IR")
        for _ in range(frames[0] // 2 - 4):
            ui.run_action(slider, "increase")
        ir_at = win.wait_frame_info("IR", lambda i, n: i == frames[0] // 2, "the thermal replay half way")
        vis_at = win.wait_frame_info("VIS", lambda i, n: i > 1, "the visible replay to follow")
        time.sleep(0.5)
        ui.park_pointer()
        files_png = ui.screenshot(os.path.join(out, "3-files.png"))
        print(f"recorded {frames[0]} thermal and {frames[1]} visible frames; replay at thermal {ir_at[0]}/"
              f"{ir_at[1]}, visible {vis_at[0]}/{vis_at[1]}, offset {win.offset_ms()} ms", flush=True)

        session.end(proc, timeout_s=20)
        for f in copy.logs():
            shutil.copy2(f, out)
        if update_docs:
            for png, name in ((preview_png, "qelm.png"), (files_png, "qelm-files.png")):
                size = pu.png_size(png)
                if size != (1280, 760):
                    raise pu.HarnessError(f"{png} is {size[0]}x{size[1]}, not the window's 1280x760")
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
        if headless_run:
            if not in_netns:
                print("qelm demo skipped: the visible camera needs a private network namespace (run as root)",
                      flush=True)
                return 0
            return headless(build, update_docs)
        return interactive(build, in_netns)

    return pu.demo_main(__doc__, os.path.abspath(__file__), run)


if __name__ == "__main__":
    sys.exit(main())
