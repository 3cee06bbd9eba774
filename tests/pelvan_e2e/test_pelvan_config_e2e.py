#!/usr/bin/python3
"""End to end through the window, the configuration side: three virtual cameras answer discovery in a private
network namespace; the real program, under Xvfb and driven through its accessibility tree, opens one camera's
configuration dialog, changes a field typed with the keyboard and writes it back, then on the batch page
sets the clock of every ticked camera, once with all three and once more with an added address where no
camera answers, whose failure shows in its own row while the others still succeed.

Usage: test_pelvan_config_e2e.py BUILD_DIR   (exit 77: cannot run here, e.g. not root or no Xvfb)
"""

import datetime
import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pelvan_ui as pu  # noqa: E402

CAMERAS = [
    # (address, camera id, software id): the second has the motorised lens ("GS").
    ("127.0.33.41", "VCAM-CFG-A", "R384-V1.2.0"),
    ("127.0.33.42", "VCAM-CFG-B", "R640-GS-V2.1.0"),
    ("127.0.33.43", "VCAM-CFG-C", "R640-V2.1.0"),
]
# Added by address; nothing listens there.
NO_CAMERA = "127.0.33.59"
CONFIGURED = 1
# Record types of the writes in the cameras' event logs ("record <set type>").
RECORD_SET_OSD = 68
LOCATION_TEXT = "Dock 7 north-E2E"
LANGUAGE = int(os.environ.get("PELVAN_E2E_LANGUAGE", "1"))
# A clock set from this machine's UTC time may lag it by the run, not by hours.
CLOCK_SLACK = datetime.timedelta(minutes=10)
_driver = {}


def check(cond, msg):
    if not cond:
        raise pu.HarnessError(msg)


def read_lines(path):
    try:
        with open(path) as f:
            return [l.strip() for l in f if l.strip()]
    except FileNotFoundError:
        return []


def clock_sets(path):
    """The clock values the camera was set to, from its event log."""
    out = []
    for line in read_lines(path):
        m = re.fullmatch(r"ctlx clock-set (\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)", line)
        if m:
            out.append(datetime.datetime(*map(int, m.groups())))
    return out


def message_of(ui, row, words):
    """The row's "Message" column: its last cell when that reads as an outcome, else "" (an empty cell is
    not in the accessibility tree)."""
    cells = ui.row_cells(row)
    if cells and re.fullmatch(words, cells[-1]):
        return cells[-1]
    return ""


def addr_re(ip):
    return r"(^|, )" + re.escape(ip) + r"(,|$)"


def configuration_dialog(ui, events, states, artefacts):
    ip, cam_id, _sw = CAMERAS[CONFIGURED]
    ui.press(ui.find("row", f"{cam_id} {ip}"))
    pu.wait_until("the pressed row to be the selected one", lambda: ui.is_selected(ui.find("row", f"{cam_id} {ip}")),
                  10)
    ui.press_button("DeviceConfig")
    ui.find("dialog", ui.word("DeviceConfig"), timeout_s=20)

    # The dialog opens on the camera's basic information, read from the camera.
    id_field = ui.field("CameraBasicInfo_cameraId")
    pu.wait_until(f"the basic-info page to show the camera id {cam_id}", lambda: ui.field_text(id_field) == cam_id,
                  15, 0.2)
    # Whatever opening a camera sends by itself; the batch run opens each camera the same way.
    login_sets = len(clock_sets(events[ip]))
    software = ui.field_text(ui.field("CameraBasicInfo_softwareId"))
    check(software == CAMERAS[CONFIGURED][2], f"the basic-info page shows software id {software!r}")
    ui.screenshot(os.path.join(artefacts, "01-basic-info.png"))

    # The on-screen display page: one field typed in, then written with "Apply".
    ui.press_button("CameraOSDInfo")
    loc = ui.field("CameraOSDInfo_loc_name")
    before = read_lines(events[ip])
    check(all(l != f"record {RECORD_SET_OSD}" for l in before), f"a display record write before Apply: {before}")
    ui.type_into(loc, LOCATION_TEXT)
    ui.press_button("Apply")
    pu.wait_until("the camera's event log to show the display record written",
                  lambda: f"record {RECORD_SET_OSD}" in read_lines(events[ip]), 15, 0.2)
    # The camera keeps what it was sent: the typed words, ended, are in its saved records (hex text).
    with open(states[ip]) as f:
        check((LOCATION_TEXT.encode() + b"\0").hex() in f.read(),
              f"{LOCATION_TEXT!r} is not in the camera's saved records")
    others = [c[0] for c in CAMERAS if c[0] != ip]
    for other in others:
        check(not any(l.startswith("record ") for l in read_lines(events[other])),
              f"a record written to the camera {other}, which was not configured")
    ui.screenshot(os.path.join(artefacts, "02-osd-applied.png"))

    ui.press_button("ApplyAndClose")
    pu.wait_until("the dialog to close", lambda: not ui.find_all("dialog", ui.word("DeviceConfig")), 15, 0.2)
    writes = [l for l in read_lines(events[ip]) if l == f"record {RECORD_SET_OSD}"]
    check(len(writes) == 2, f"expected two display record writes (Apply, then Apply and close), found {writes}")
    return login_sets


def run_set_time(ui, rows_expected, words, timeout_s=60):
    """Presses "SetTimeMulti" and waits until every expected row reads its outcome. rows_expected: address ->
    regular expression its message must match."""
    ui.press_button("SetTimeMulti")

    def outcome():
        if ui.find_all("button", ui.word("Cancel")):
            return None  # still running
        got = {}
        for ip, want in rows_expected.items():
            rows = ui.table_rows(addr_re(ip))
            if len(rows) != 1:
                return None
            got[ip] = message_of(ui, rows[0], words)
            if not re.fullmatch(want, got[ip]):
                return None
        return got

    try:
        return pu.wait_until("the batch run to finish with the expected messages", outcome, timeout_s, 0.3)
    except pu.HarnessError as e:
        seen = {n.name for n in ui.table_rows()}
        raise pu.HarnessError(f"{e}; rows: {sorted(seen)}") from None


def batch_page(ui, events, artefacts, login_sets):
    success, fail = re.escape(ui.word("Success")), re.escape(ui.word("Fail"))
    words = rf"{success}|{fail} -?\d+"
    ui.select_tab("Config")
    ui.find("table", ui.word("DeviceList"), timeout_s=20)
    for ip, cam_id, _sw in CAMERAS:
        row = ui.table_row(addr_re(ip), timeout_s=20)
        check(ui.row_cells(row)[:2] == [cam_id, ip], f"batch row {ui.row_cells(row)}: expected {cam_id}, {ip} first")
        box = ui.row_check_box(row)
        check(box is not None, f"the batch row of {ip} has no selection check box")
        ui.set_checked(box, True)
    ui.select_tab("Network")

    # Each camera's run: what opening it sends, and the clock set of the operation itself.
    before = {ip: len(clock_sets(events[ip])) for ip, _id, _sw in CAMERAS}
    started = datetime.datetime.utcnow()
    got = run_set_time(ui, {ip: success for ip, _id, _sw in CAMERAS}, words)
    pu.log(f"first run: {got}")
    for ip, _id, _sw in CAMERAS:
        sets = clock_sets(events[ip])[before[ip]:]
        check(len(sets) == login_sets + 1,
              f"camera {ip}: {len(sets)} clock sets logged by the run, expected {login_sets} on opening + 1")
        check(all(abs(t - started) <= CLOCK_SLACK for t in sets),
              f"camera {ip} was set to {sets}, far from UTC {started}")

    # A fourth node by address, where nothing answers: it fails alone, with its code, and the run goes on.
    ui.select_tab("Preview")
    ui.type_into(ui.field("DeviceIp"), NO_CAMERA)
    ui.press_button("Add")
    ui.device_row(NO_CAMERA, timeout_s=15)
    ui.select_tab("Config")
    ui.select_tab("Network")
    for ip in [c[0] for c in CAMERAS] + [NO_CAMERA]:
        row = ui.table_row(addr_re(ip), timeout_s=20)
        box = ui.row_check_box(row)
        check(box is not None, f"the batch row of {ip} has no selection check box")
        ui.set_checked(box, True)
    check(len(ui.table_rows()) == 4, f"expected 4 batch rows, found {[n.name for n in ui.table_rows()]}")

    expected = {ip: success for ip, _id, _sw in CAMERAS}
    expected[NO_CAMERA] = rf"{fail} -\d+"
    before = {ip: len(clock_sets(events[ip])) for ip, _id, _sw in CAMERAS}
    # The earlier run's "Success" still stands in the camera rows: the wait is also on the clock writes.
    got = run_set_time(ui, expected, words)
    pu.wait_until("each camera to log the clock sets of the second run",
                  lambda: all(len(clock_sets(events[c[0]])) == before[c[0]] + login_sets + 1 for c in CAMERAS),
                  30, 0.3)
    pu.log(f"second run: {got}")
    ui.screenshot(os.path.join(artefacts, "03-batch.png"))


def scenario(build, session, artefacts):
    started = time.monotonic()
    events, states = {}, {}
    for ip, cam_id, software in CAMERAS:
        events[ip] = session.path(f"events-{ip}.log")
        states[ip] = session.path(f"state-{ip}.bin")
        session.start_vcam(build, ip, size=(384, 288), camera_id=cam_id, software_id=software, discovery=True,
                           fps=10, lifetime_s=280, extra=("--event-log", events[ip], "--state", states[ip]))
    session.start_display()

    copy = pu.PelvanCopy(build, session.path("prog"), language=LANGUAGE)
    proc = copy.start(session)  # searches the namespace's network at start
    ui = pu.Ui(session, proc.pid, language=LANGUAGE, timeout_s=90)
    _driver["ui"] = ui
    for ip, cam_id, _sw in CAMERAS:
        ui.find("row", f"{cam_id} {ip}", timeout_s=60)

    login_sets = configuration_dialog(ui, events, states, artefacts)
    batch_page(ui, events, artefacts, login_sets)

    status = session.end(proc, timeout_s=30)
    check(status == 0, f"pelvan ended with status {status}")
    text = copy.log_text()
    qml_errors = [l for l in text.splitlines() if ".qml:" in l and ("qrc:/" in l or "file:/" in l)]
    check(not qml_errors, "QML errors in the log:\n" + "\n".join(qml_errors[:20]))
    # A sanitizer build reports there, and goes on after some of its reports.
    with open(session.path("pelvan.log"), errors="replace") as f:
        reports = [l for l in f if "runtime error:" in l or "Sanitizer" in l]
    check(not reports, "sanitizer reports in the program's output:\n" + "".join(reports[:20]))
    pu.log(f"scenario done in {time.monotonic() - started:.1f} s")


def main():
    return pu.run_e2e(__file__, "pelvan_config_e2e", scenario, _driver, __doc__)


if __name__ == "__main__":
    sys.exit(main())
