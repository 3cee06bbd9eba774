#!/usr/bin/python3
"""End to end through the window of the dual-light tool: a virtual thermal camera and the fake visible camera
on loopback addresses of a private network namespace; the real program, under Xvfb and driven through its
accessibility tree, gets both addresses typed into its settings page, shows both cameras, records them
together, replays the recording side by side, steps and slides through it and lines the two sides up.

Usage: test_qelm_e2e.py BUILD_DIR   (exit 77: cannot run here, e.g. not root or no Xvfb)
"""

import os
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pelvan_ui as pu  # noqa: E402

IR_IP, VIS_IP = "127.0.35.1", "127.0.35.2"
# Addresses the configuration starts with: nothing listens there, the settings page replaces them.
IR_IP_BEFORE, VIS_IP_BEFORE = "127.0.35.19", "127.0.35.20"
# The words the driver looks for come from the translations: 1 English (default), 0 Chinese.
LANGUAGE = int(os.environ.get("QELM_E2E_LANGUAGE", "1"))
_driver = {}


def check(cond, msg):
    if not cond:
        raise pu.HarnessError(msg)


def read_config(path):
    """(language, saveDir, ir_ip, vis_ip) of a 1304-byte configuration record."""
    with open(path, "rb") as f:
        data = f.read()
    check(len(data) == 1304, f"{path}: {len(data)} bytes, not 1304")
    magic, language, save_dir, ir_ip, vis_ip = struct.unpack("<Ii1024s128s16s", data[:1176])
    check(magic == pu.QELM_CONFIG_MAGIC, f"{path}: magic {magic:#x}")
    text = lambda b: b.split(b"\0", 1)[0].decode()  # noqa: E731
    return language, text(save_dir), text(ir_ip), text(vis_ip)


def scenario(build, session, artefacts):
    started = time.monotonic()
    session.start_vcam(build, IR_IP, size=pu.QELM_IR_SIZE, fps=25, lifetime_s=280)
    session.start_fake_vis(VIS_IP, lifetime_s=280)
    session.start_display()

    copy = pu.QelmCopy(build, session.path("prog"), language=LANGUAGE, ir_ip=IR_IP_BEFORE, vis_ip=VIS_IP_BEFORE)
    proc = copy.start(session)
    ui = pu.Ui(session, proc.pid, language=LANGUAGE, timeout_s=90, tool="Qelm")
    _driver["ui"] = ui
    win = pu.QelmWindow(ui)

    # Settings: both addresses typed in and saved; the record beside the program holds them.
    ui.select_tab("PageSettings")
    for ident, ip in (("IRIP", IR_IP), ("VISIP", VIS_IP)):
        ui.type_into(ui.field(ident), ip)
    ui.press_button("Save")
    config = os.path.join(copy.config_dir, "QelmConfig.bin")
    saved = pu.wait_until("the settings in the configuration file",
                          lambda: (c := read_config(config))[2:] == (IR_IP, VIS_IP) and c, 15, 0.3)
    check(saved[:2] == (LANGUAGE, copy.save_dir), f"the save left other settings changed: {saved}")

    # Preview: both cameras live, recorded together.
    ui.select_tab("PagePreview")
    fps = win.start_cameras()
    pu.log(f"frame rates: thermal {fps[0]}, visible {fps[1]}")
    ui.park_pointer()
    ui.screenshot(os.path.join(artefacts, "01-preview.png"))

    base = win.record(3)
    stream, vis = base + ".stream", base + ".vis"
    for f in (stream, vis):
        check(os.path.isfile(f), f"{f} was not written (save folder: {os.listdir(copy.save_dir)})")
        pu.wait_file_settled(f)
    ir_frames = pu.check_stream(stream, *pu.QELM_IR_SIZE)
    vis_frames = pu.check_vis(vis, *pu.QELM_VIS_SIZE)
    pu.log(f"recorded {ir_frames} thermal frames in {stream}, {vis_frames} visible frames in {vis}")
    win.stop_cameras()

    # Files: the last recording replayed on both sides.
    ui.select_tab("PageFiles")
    ui.press_button("LoadLast")
    ir = win.wait_frame_info("IR", lambda i, n: i == 1 and n > 1, "the thermal replay at 1/n, n > 1")
    vi = win.wait_frame_info("VIS", lambda i, n: i == 1 and n > 1, "the visible replay at 1/n, n > 1")
    check((ir[1], vi[1]) == (ir_frames, vis_frames),
             f"the replay counts {ir[1]} thermal and {vi[1]} visible frames; the files hold {ir_frames} and "
             f"{vis_frames}")
    for side, path in (("IR", stream), ("VIS", vis)):
        shown = ui.status_node("FileName" + side, timeout_s=5).name
        check(shown.endswith(os.path.basename(path)), f"the {side} file name reads {shown!r}, not {path}")

    win.step("IR")
    win.wait_frame_info("IR", lambda i, n: i == 2, "the thermal replay at 2/n after Next Frame")
    slider = win.slider("IR")
    ui.run_action(slider, "increase")
    win.wait_frame_info("IR", lambda i, n: i == 3, "the thermal replay at 3/n after the slider's step")
    check(ui.slider_value(slider) == 2, f"the thermal slider stands at {ui.slider_value(slider)}, not 2")
    check(win.frame_info("VIS")[0] == 1, "the visible side moved without Sync")

    # Sync: the visible side follows the thermal one to the frame nearest in time.
    win.sync(True)
    target = min(ir[1], ir[1] // 2 + 1)
    for _ in range(target - 3):
        ui.run_action(slider, "increase")
    win.wait_frame_info("IR", lambda i, n: i == target, f"the thermal replay at {target}/n")
    vis_index = win.wait_frame_info("VIS", lambda i, n: i > 1, "the visible replay to follow")[0]
    offset = win.offset_ms()
    pu.log(f"thermal frame {target}, visible frame {vis_index}, offset {offset} ms")
    check(offset is not None and abs(offset) <= 100,
             f"the frames shown lie {offset} ms apart with Sync on (more than 100 ms)")
    ui.park_pointer()
    ui.screenshot(os.path.join(artefacts, "02-files.png"))

    status = session.end(proc, timeout_s=30)
    check(status == 0, f"qelm ended with status {status}")
    text = copy.log_text()
    errors = pu.qml_errors(text)
    check(not errors, "QML errors in the log:\n" + "\n".join(errors[:20]))
    for side, ended in (("thermal", pu.QELM_IR_ENDED), ("visible", pu.QELM_VIS_ENDED)):
        m = ended.search(text)
        check(m and int(m.group(1)) > 0, f"no line with the {side} frames shown in the log")
    pu.log(f"scenario done in {time.monotonic() - started:.1f} s")


def main():
    return pu.run_e2e(__file__, "qelm_e2e", scenario, _driver, __doc__,
                     needs=("arv-fake-gv-camera-0.8", "ss"))


if __name__ == "__main__":
    sys.exit(main())
