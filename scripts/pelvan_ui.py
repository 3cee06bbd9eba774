#!/usr/bin/python3
"""Drives the desktop tools (pelvan, the dual-light tool qelm) from outside, as a person at the screen would.

The pieces, each usable on its own:
  enter_private_netns()  re-runs the calling script under `unshare -n` (root only) and gives the fresh
                         namespace a loopback and a veth pair, so discovery broadcasts stay inside it
  Session                owns every process started here (cameras, Xvfb, D-Bus, AT-SPI, the tool) and ends them
  Session.start_vcam()   a virtual thermal camera on its own 127.0.x.N address
  Session.start_fake_vis() the fake visible GigE camera on a loopback address (inside the private namespace)
  Session.start_display() Xvfb on a free display, a private D-Bus session bus and the AT-SPI bus
  PelvanCopy, QelmCopy   the program copied into a folder of its own with its configuration (ToolCopy)
  Ui                     finds the window's accessibles by role and translated name, presses them, reads
                         their names, drags the mouse over them and takes screenshots

Needs the system Python (/usr/bin/python3) for python3-gi and gir1.2-atspi-2.0.
"""

import ctypes
import glob
import os
import re
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import xml.etree.ElementTree as ET

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TRANSLATIONS = os.path.join(REPO, "tools", "pelvan", "translations")
FAKE_VIS_GENICAM = os.path.join(REPO, "mvcam", "fake", "mvcam-fake-camera.xml")

VCAM_COMMAND_PORT = 55502
CONFIG_MAGIC = 0x0134D818
QELM_CONFIG_MAGIC = 0x4D4C4551
GVCP_PORT = 3956
SNAPSHOT_TAIL_MAGIC = 20160901
# Bytes of one temperature frame's fixed part behind a snapshot's JPEG, besides 2 bytes per pixel.
SNAPSHOT_TAIL_EXTRA = 8342

# What the program logs when a preview stops.
PREVIEW_ENDED = re.compile(r"preview ended: frames shown (\d+), skipped (\d+), "
                           r"GUI time per frame ([\d.]+) ms")

_NETNS_ENV = "PELVAN_UI_NETNS"


class HarnessError(RuntimeError):
    """A step of the harness or of the scenario did not happen as expected."""


class Unavailable(RuntimeError):
    """The machine lacks something the harness cannot work without (a tool, root rights)."""


def log(msg):
    print(f"[{time.strftime('%H:%M:%S')}] {msg}", flush=True)


def wait_until(what, predicate, timeout_s, interval_s=0.2):
    """Polls predicate until it returns something true; bounded in time and in number of tries."""
    deadline = time.monotonic() + timeout_s
    tries = int(timeout_s / interval_s) + 2
    last_error = None
    for _ in range(tries):
        try:
            value = predicate()
            if value:
                return value
        except HarnessError as e:
            last_error = e
        if time.monotonic() >= deadline:
            break
        time.sleep(interval_s)
    extra = f" (last: {last_error})" if last_error else ""
    raise HarnessError(f"timed out after {timeout_s:g} s waiting for {what}{extra}")


def require_tools(*names):
    missing = [n for n in names if not (os.path.isabs(n) and os.access(n, os.X_OK)) and not shutil.which(n)]
    if missing:
        raise Unavailable("missing program(s): " + ", ".join(missing) +
                          " (install them with scripts/deps.sh)")


# ---------------------------------------------------------------------------------------------------------
# Network namespace


def _netns_id():
    try:
        return os.readlink("/proc/self/ns/net")
    except OSError:
        return ""


def in_private_netns():
    """True when this process runs in the namespace that enter_private_netns() made."""
    state = os.environ.get(_NETNS_ENV, "")
    return state.startswith("ready:") and state[len("ready:"):] == _netns_id() != ""


def _run(cmd):
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=20)
    if r.returncode != 0:
        raise HarnessError(f"{' '.join(cmd)} failed: {r.stdout.strip()}")
    return r.stdout


def _setup_fresh_netns():
    links = [l for l in _run(["ip", "-o", "link", "show"]).splitlines() if l.strip()]
    if len(links) != 1 or ": lo:" not in links[0]:
        raise HarnessError("not in a fresh network namespace (it has more than lo); stopping")
    _run(["ip", "link", "set", "lo", "up"])
    # The PC side: one veth end with an address and the default route, the other end up without one.
    _run(["ip", "link", "add", "v0", "type", "veth", "peer", "name", "v1"])
    _run(["ip", "addr", "add", "10.77.0.1/24", "dev", "v0"])
    _run(["ip", "link", "set", "v1", "up"])
    _run(["ip", "link", "set", "v0", "up"])
    _run(["ip", "route", "add", "default", "dev", "v0"])


def enter_private_netns(argv=None):
    """Makes the calling script run in a private network namespace of its own.

    As root, the first call re-executes the script (argv, default sys.argv) under `unshare -n`; in the new
    process the same call sets the namespace up and returns True. Returns False, without side effects, when
    a namespace cannot be made (not root, or unshare refused): the caller then works without discovery.
    """
    state = os.environ.get(_NETNS_ENV, "")
    if in_private_netns():
        return True
    if state.startswith("new:"):
        # The host's namespace was noted before unshare: this one must be another, and empty.
        if _netns_id() in ("", state[len("new:"):]):
            raise HarnessError("expected to run in a new network namespace, but this is the host's")
        _setup_fresh_netns()
        os.environ[_NETNS_ENV] = "ready:" + _netns_id()
        return True
    if os.geteuid() != 0:
        return False
    unshare = shutil.which("unshare")
    if not unshare or not shutil.which("ip"):
        return False
    # Containers may forbid new namespaces even to root: try once before handing the process over.
    if subprocess.run([unshare, "-n", "true"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                      timeout=20).returncode != 0:
        return False
    args = list(sys.argv if argv is None else argv)
    args[0] = os.path.abspath(args[0])
    env = dict(os.environ)
    env[_NETNS_ENV] = "new:" + _netns_id()
    sys.stdout.flush()
    sys.stderr.flush()
    os.execve(unshare, [unshare, "-n", sys.executable] + args, env)
    return False  # not reached


# ---------------------------------------------------------------------------------------------------------
# Processes

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _child_setup():
    # A child outlives a killed harness at most by a moment: it gets SIGTERM when the harness goes.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


class Session:
    """Every process started through it, ended in reverse order by stop() (also on SIGTERM/SIGINT)."""

    def __init__(self, workdir=None, keep=False):
        self.workdir = workdir or tempfile.mkdtemp(prefix="tool-ui-")
        os.makedirs(self.workdir, exist_ok=True)
        self.keep = keep
        self.procs = []  # (name, Popen)
        self.env = dict(os.environ)
        self.display = None
        self.screen_size = None
        self._stopped = False
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(sig, self._on_signal)

    def _on_signal(self, signum, _frame):
        self.stop()
        sys.exit(128 + signum)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def path(self, *parts):
        return os.path.join(self.workdir, *parts)

    def spawn(self, name, cmd, env=None, cwd=None, pass_fds=()):
        """Starts cmd in a process group of its own; its output goes to <workdir>/<name>.log."""
        with open(self.path(f"{name}.log"), "ab") as out:
            try:
                p = subprocess.Popen(cmd, env=env or self.env, stdout=out, stderr=subprocess.STDOUT,
                                     stdin=subprocess.DEVNULL, cwd=cwd, start_new_session=True,
                                     preexec_fn=_child_setup, pass_fds=pass_fds)
            except FileNotFoundError as e:
                raise Unavailable(f"cannot start {name}: {e}") from e
        self.procs.append((name, p))
        return p

    def end(self, p, timeout_s=10):
        """SIGTERM to the process's group, SIGKILL after timeout_s; returns the exit status."""
        if p.poll() is None:
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                p.wait(timeout=timeout_s)
            except subprocess.TimeoutExpired:
                pass
        # Whatever it started in its group goes too (the AT-SPI bus launcher's bus, say).
        try:
            os.killpg(p.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        try:
            return p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self._stopped:
            return
        self._stopped = True
        for _name, p in reversed(self.procs):
            self.end(p, timeout_s=5)
        if not self.keep:
            shutil.rmtree(self.workdir, ignore_errors=True)

    # --- virtual cameras -------------------------------------------------------------------------------

    def start_vcam(self, build, ip, size=(640, 512), camera_id=None, software_id=None, discovery=False,
                   fps=25, lifetime_s=300, data_kind=2, extra=()):
        vcam = os.path.join(build, "bin", "sarvik-vcam")
        if not os.access(vcam, os.X_OK):
            raise Unavailable(f"{vcam} is missing: build the target sarvik-vcam")
        w, h = size
        # Data kind 2: temperature frames, rendered with the adaptive stretch as a radiometric camera's are.
        cmd = [vcam, "--ip", ip, "--size", f"{w}x{h}", "--fps", str(fps), "--lifetime", str(lifetime_s),
               "--data-kind", str(data_kind)]
        if camera_id:
            cmd += ["--camera-id", camera_id]
        if software_id:
            cmd += ["--software-id", software_id]
        if discovery:
            cmd.append("--discovery")
        cmd += list(extra)
        p = self.spawn(f"vcam-{ip}", cmd)

        def listening():
            if p.poll() is not None:
                raise HarnessError(f"virtual camera on {ip} ended with {p.returncode}; see "
                                   f"{self.path(f'vcam-{ip}.log')}")
            try:
                with socket.create_connection((ip, VCAM_COMMAND_PORT), timeout=0.5):
                    return True
            except OSError:
                return False

        wait_until(f"the virtual camera on {ip} to listen", listening, 10, 0.1)
        return p

    def start_fake_vis(self, ip, serial=None, lifetime_s=600):
        """The fake visible GigE camera (Aravis's, 512x512 Mono8 unless the program sets it otherwise, with
        the feature description scripts/fake_vis_camera.sh uses) on ip. It listens only on an address an
        interface carries, so the address goes onto lo: allowed only in the private network namespace, never
        on the host's. It ends after lifetime_s at the latest; timeout runs in the foreground mode, which keeps
        the camera in this session's process group, so that ending the session ends it too."""
        require_tools("ip", "ss", "timeout", "arv-fake-gv-camera-0.8")
        if not ip.startswith("127."):
            raise HarnessError(f"the fake visible camera takes a loopback address, not {ip}")
        if not in_private_netns():
            raise Unavailable("the fake visible camera needs its address on lo, which is done only inside the "
                              "private network namespace (run as root)")
        if f" inet {ip}/" not in _run(["ip", "-o", "-4", "addr", "show", "dev", "lo"]):
            _run(["ip", "addr", "add", f"{ip}/32", "dev", "lo"])
        serial = serial or "VIS" + re.sub(r"\D", "", ip)[-9:]
        name = f"fakevis-{ip}"
        p = self.spawn(name, ["timeout", "--foreground", str(int(lifetime_s)), "arv-fake-gv-camera-0.8", "-i",
                              ip, "-s", serial, "-g", FAKE_VIS_GENICAM])

        def listening():
            if p.poll() is not None:
                raise HarnessError(f"the fake visible camera on {ip} ended with {p.returncode}; see "
                                   f"{self.path(name + '.log')}")
            r = subprocess.run(["ss", "-Huln", f"src {ip}:{GVCP_PORT}"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True, timeout=10)
            return r.returncode == 0 and r.stdout.strip() != ""

        wait_until(f"the fake visible camera on {ip} to listen", listening, 15, 0.1)
        log(f"fake visible camera {serial} on {ip}")
        return p

    # --- display, D-Bus and AT-SPI --------------------------------------------------------------------

    def start_display(self, size=(1280, 1024)):
        """Xvfb on a display number it picks itself, a session bus and the accessibility bus."""
        require_tools("Xvfb", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher")
        r, w = os.pipe()
        # 96 dpi: the program scales by dpi / 96, and at any other factor its accessible positions (logical
        # pixels) would no longer be the screen's pixels that the mouse and the screenshots use.
        xvfb = self.spawn("xvfb", ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{size[0]}x{size[1]}x24",
                                   "-dpi", "96", "-nolisten", "tcp", "-noreset"], pass_fds=(w,))
        os.close(w)
        number = self._read_line(r, 15, "Xvfb to report its display number", xvfb)
        os.close(r)
        self.display = f":{number.strip()}"
        self.screen_size = size

        runtime = self.path("runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        bus_address = f"unix:path={self.path('session-bus')}"
        r, w = os.pipe()
        bus = self.spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                  f"--address={bus_address}", f"--print-address={w}"], pass_fds=(w,))
        os.close(w)
        self._read_line(r, 15, "the D-Bus session bus", bus)
        os.close(r)
        env = self.env
        for k in ("AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            env.pop(k, None)
        env.update(DISPLAY=self.display, DBUS_SESSION_BUS_ADDRESS=bus_address, XDG_RUNTIME_DIR=runtime,
                   NO_AT_BRIDGE="0", XAUTHORITY=self.path("no-xauthority"))
        launcher = self.spawn("at-spi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        a11y = wait_until("the AT-SPI bus", lambda: self._a11y_address(bus_address, launcher), 15, 0.1)
        env["AT_SPI_BUS_ADDRESS"] = a11y
        # The Python side's AT-SPI library reads these when it first connects.
        for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "AT_SPI_BUS_ADDRESS"):
            os.environ[k] = env[k]
        log(f"display {self.display}, session bus {bus_address}, accessibility bus {a11y}")
        return self.display

    def _read_line(self, fd, timeout_s, what, proc):
        data = b""
        deadline = time.monotonic() + timeout_s
        while b"\n" not in data:
            left = deadline - time.monotonic()
            if left <= 0 or proc.poll() is not None:
                raise HarnessError(f"no answer from {what} (see the logs in {self.workdir})")
            ready, _, _ = select.select([fd], [], [], min(left, 0.5))
            if ready:
                chunk = os.read(fd, 256)
                if not chunk:
                    raise HarnessError(f"{what}: ended before answering")
                data += chunk
        return data.decode().strip()

    def _a11y_address(self, bus_address, launcher):
        if launcher.poll() is not None:
            raise HarnessError(f"at-spi-bus-launcher ended with {launcher.returncode}")
        from gi.repository import Gio, GLib
        conn = Gio.DBusConnection.new_for_address_sync(
            bus_address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        try:
            reply = conn.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                   GLib.VariantType.new("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
            return reply.unpack()[0]
        except GLib.Error:
            return None
        finally:
            conn.close_sync(None)

    # --- files ----------------------------------------------------------------------------------------

    def screenshot(self, out_png, region=None):
        """The display (or region = (x, y, w, h) of it) as a PNG, through ffmpeg's X11 grabber."""
        require_tools("ffmpeg")
        if not self.display:
            raise HarnessError("no display started")
        x, y, w, h = region or (0, 0) + tuple(self.screen_size)
        sw, sh = self.screen_size
        x, y = max(0, min(x, sw - 1)), max(0, min(y, sh - 1))
        w, h = max(1, min(w, sw - x)), max(1, min(h, sh - y))
        os.makedirs(os.path.dirname(os.path.abspath(out_png)), exist_ok=True)
        r = subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "x11grab", "-draw_mouse", "0",
                            "-video_size", f"{w}x{h}", "-i", f"{self.display}.0+{x},{y}", "-frames:v", "1",
                            out_png],
                           env=self.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                           timeout=30)
        if r.returncode != 0 or not os.path.exists(out_png):
            raise HarnessError(f"screenshot {out_png} failed: {r.stdout.strip()}")
        return out_png


def collect_files(folder, pattern):
    """Files under folder (any depth) whose names match the glob pattern, sorted."""
    return sorted(glob.glob(os.path.join(folder, "**", pattern), recursive=True))


def wait_file_settled(path, timeout_s=15):
    """Waits until a file exists with a non-zero size that stays the same for half a second."""
    last = [-1]

    def settled():
        try:
            size = os.path.getsize(path)
        except OSError:
            return False
        same = size > 0 and size == last[0]
        last[0] = size
        return same

    wait_until(f"{path} to be written", settled, timeout_s, 0.5)
    return os.path.getsize(path)


def check_snapshot(path, width, height):
    """The snapshot is a JPEG followed by its temperature tail of 2 (W H + 8342) bytes: length field and
    "teMp" at its start; u16 width, u16 height and the u32 magic 36 bytes before the end, then zeros."""
    with open(path, "rb") as f:
        data = f.read()
    tail = 2 * (width * height + SNAPSHOT_TAIL_EXTRA)
    if len(data) <= tail:
        raise HarnessError(f"{path}: {len(data)} bytes, not more than its temperature tail of {tail}")
    if data[:2] != b"\xff\xd8":
        raise HarnessError(f"{path}: does not begin with a JPEG start marker")
    length, marker = struct.unpack("<i4s", data[-tail:-tail + 8])
    if (length, marker) != (tail - 12, b"teMp"):
        raise HarnessError(f"{path}: the tail begins with {length}, {marker!r}; "
                           f"expected {tail - 12}, b'teMp'")
    w, h, magic = struct.unpack("<HHI", data[-36:-28])
    if (w, h, magic) != (width, height, SNAPSHOT_TAIL_MAGIC):
        raise HarnessError(f"{path}: the tail closes with {w}, {h}, {magic}; expected {width}, {height}, "
                           f"{SNAPSHOT_TAIL_MAGIC}")
    if any(data[-28:]):
        raise HarnessError(f"{path}: the last 28 bytes are not zero")
    return len(data)


def check_stream(path, width, height):
    """A recording: bitmap header with the cover's size, then whole frames of 2 W H + 128 bytes after a
    (4 W H + 1216)-byte head. Returns the number of frames."""
    n = width * height
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        head = f.read(64)
    if len(head) < 64 or head[:2] != b"BM":
        raise HarnessError(f"{path}: does not begin with a bitmap header")
    w, h = struct.unpack("<ii", head[18:26])
    if (w, h) != (width, -height):
        raise HarnessError(f"{path}: cover of {w}x{h}; expected {width}x{-height}")
    frames = (size - (4 * n + 1216)) // (2 * n + 128)
    if frames < 1:
        raise HarnessError(f"{path}: {size} bytes hold no whole frame")
    return frames


def read_png(path):
    """(width, height, RGB bytes) of a PNG, decoded by ffmpeg."""
    require_tools("ffmpeg")
    probe = subprocess.run(["ffmpeg", "-loglevel", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24",
                            "-"], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
    if probe.returncode != 0:
        raise HarnessError(f"cannot read {path}: {probe.stderr.decode(errors='replace').strip()}")
    with open(path, "rb") as f:
        head = f.read(24)
    w, h = struct.unpack(">II", head[16:24])
    if len(probe.stdout) != w * h * 3:
        raise HarnessError(f"{path}: decoded {len(probe.stdout)} bytes for {w}x{h}")
    return w, h, probe.stdout


def outline_fraction(png, rect, is_outline, reach=3, samples=40):
    """Share of points along the edges of rect = (x0, y0, x1, y1) (pixels of the picture) that have a pixel
    satisfying is_outline((r, g, b)) within reach pixels across the edge."""
    w, h, rgb = read_png(png)

    def hit(x, y, dx, dy):
        for k in range(-reach, reach + 1):
            px, py = int(x + dx * k), int(y + dy * k)
            if 0 <= px < w and 0 <= py < h:
                i = (py * w + px) * 3
                if is_outline((rgb[i], rgb[i + 1], rgb[i + 2])):
                    return True
        return False

    x0, y0, x1, y1 = rect
    hits = total = 0
    for s in range(1, samples):
        t = s / samples
        for x, y, dx, dy in ((x0 + (x1 - x0) * t, y0, 0, 1), (x0 + (x1 - x0) * t, y1, 0, 1),
                             (x0, y0 + (y1 - y0) * t, 1, 0), (x1, y0 + (y1 - y0) * t, 1, 0)):
            total += 1
            hits += hit(x, y, dx, dy)
    return hits / total


# ---------------------------------------------------------------------------------------------------------
# The program


def words(language, tool="Pelvan"):
    """Translation id -> the words the window shows, for language 0 (Chinese) or 1 (English), from the
    translations of tool ("Pelvan", "Qelm")."""
    folder = os.path.join(REPO, "tools", tool.lower(), "translations")
    ts = os.path.join(folder, f"{tool}.en_US.ts" if language == 1 else f"{tool}.zh_CN.ts")
    table = {}
    for msg in ET.parse(ts).getroot().iter("message"):
        ident = msg.get("id")
        tr = msg.find("translation")
        if ident and tr is not None and tr.text:
            table[ident] = tr.text
    return table


class ToolCopy:
    """A program copied to <root>/bin with its translations, <root>/qml reaching the built controls and a
    configuration of its own: the tools keep their configuration and logs beside the executable, so each
    run gets a copy of its own. Subclasses name the tool and write its configuration record."""

    TOOL = ""        # "Pelvan": folders <TOOL>-Config, <TOOL>-Log, translations <TOOL>.<locale>.qm
    EXECUTABLE = ""  # "pelvan"

    def __init__(self, build, root, language=1):
        self.build = os.path.abspath(build)
        self.root = root
        self.language = language
        self.bin = os.path.join(root, "bin")
        src = os.path.join(self.build, "bin", self.EXECUTABLE)
        if not os.access(src, os.X_OK):
            raise Unavailable(f"{src} is missing: build the target {self.EXECUTABLE}")
        self.config_dir = os.path.join(self.bin, f"{self.TOOL}-Config")
        os.makedirs(self.config_dir, exist_ok=True)
        shutil.copy2(src, os.path.join(self.bin, self.EXECUTABLE))
        for locale in ("en_US", "zh_CN"):
            qm = f"{self.TOOL}.{locale}.qm"
            shutil.copy2(os.path.join(self.build, "bin", f"{self.TOOL}-Config", qm),
                         os.path.join(self.config_dir, qm))
        if not os.path.exists(os.path.join(root, "qml")):
            os.symlink(os.path.join(self.build, "qml"), os.path.join(root, "qml"))
        self.proc = None

    def write_config(self, name, record):
        with open(os.path.join(self.config_dir, name), "wb") as f:
            f.write(record)

    def start(self, session, args=(), extra_env=None):
        env = dict(session.env)
        env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        # The sanitizer build: Qt keeps allocations until exit, so leak checks would only report those.
        env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
        env.update(extra_env or {})
        self.proc = session.spawn(self.EXECUTABLE, [os.path.join(self.bin, self.EXECUTABLE)] + list(args),
                                  env=env, cwd=self.root)
        log(f"{self.EXECUTABLE} started (pid {self.proc.pid}) from {self.bin} {' '.join(args)}")
        return self.proc

    def log_dir(self):
        return os.path.join(self.bin, f"{self.TOOL}-Log")

    def logs(self):
        return sorted(glob.glob(os.path.join(self.log_dir(), "*.log")))

    def log_text(self):
        text = ""
        for f in self.logs():
            with open(f, "r", errors="replace") as fh:
                text += fh.read()
        return text


class PelvanCopy(ToolCopy):
    """pelvan with a configuration saving into save_dir (default <root>/shots)."""

    TOOL = "Pelvan"
    EXECUTABLE = "pelvan"

    def __init__(self, build, root, language=1, save_dir=None):
        super().__init__(build, root, language)
        self.shots = save_dir or os.path.join(root, "shots")
        save_dir = self.shots.encode()
        record = struct.pack("<Ii1024siii", CONFIG_MAGIC, language, save_dir, 0, 500, 1)
        assert len(record) == 1044
        self.write_config("AppConfig.bin", record)


class QelmCopy(ToolCopy):
    """The dual-light tool qelm with a configuration saving into save_dir (default <root>/data) and the
    given camera addresses. The visible camera's account stays empty: the program does not use it."""

    TOOL = "Qelm"
    EXECUTABLE = "qelm"

    def __init__(self, build, root, language=1, save_dir=None, ir_ip="", vis_ip=""):
        super().__init__(build, root, language)
        self.save_dir = save_dir or os.path.join(root, "data")
        os.makedirs(self.save_dir, exist_ok=True)
        if len(ir_ip.encode()) > 127 or len(vis_ip.encode()) > 15:
            raise HarnessError(f"camera addresses too long: {ir_ip!r}, {vis_ip!r}")
        record = struct.pack("<Ii1024s128s16s64s64s", QELM_CONFIG_MAGIC, language, self.save_dir.encode(),
                             ir_ip.encode(), vis_ip.encode(), b"", b"")
        assert len(record) == 1304
        self.write_config("QelmConfig.bin", record)


# ---------------------------------------------------------------------------------------------------------
# The window through AT-SPI

# AT-SPI role names for the roles the views use.
ROLES = {
    "button": {"push button", "toggle button", "button", "radio button"},
    "row": {"list item", "push button", "table row", "table cell", "tree item"},
    "text": {"text", "entry", "editbar", "paragraph"},
    "label": {"label", "static", "text"},
    "image": {"image", "canvas", "drawing area", "graphic"},
    "frame": {"frame", "window", "dialog"},
}

_MAX_NODES = 6000


class Node:
    """One accessible with what was read of it during a walk."""

    def __init__(self, acc, role, name, depth):
        self.acc = acc
        self.role = role
        self.name = name
        self.depth = depth

    def __repr__(self):
        return f"<{self.role} {self.name!r}>"


class Ui:
    """The running program's accessibility tree: bounded searches by role and translated name."""

    def __init__(self, session, pid, language=1, timeout_s=60, tool="Pelvan"):
        self.session = session
        self.pid = pid
        self.tool = tool
        self.words = words(language, tool)
        self._buttons = {}
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.Atspi = Atspi
        Atspi.init()
        # A sanitizer build under load answers slowly: give each call seconds rather than the default.
        Atspi.set_timeout(5000, 20000)
        self.desktop = Atspi.get_desktop(0)
        # Names change with every frame (the status line): never read them from a cache.
        self.desktop.set_cache_mask(Atspi.Cache.NONE)
        self.app = wait_until(f"{tool.lower()} (pid {pid}) on the accessibility bus", self._find_app, timeout_s, 0.5)

    def word(self, ident):
        if ident not in self.words:
            raise HarnessError(f"no translation with id {ident!r}")
        return self.words[ident]

    def canvas(self, timeout_s=20):
        """The live picture: a graphic named by the translation of "LiveImage"."""
        return self.find("image", self.word("LiveImage"), timeout_s=timeout_s)

    def _find_app(self):
        for i in range(min(self.desktop.get_child_count(), 200)):
            app = self.desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == self.pid:
                    app.set_cache_mask(self.Atspi.Cache.NONE)
                    return app
            except Exception:
                continue
        return None

    def walk(self, visible_only=True):
        """Every accessible of the program (breadth first, at most _MAX_NODES), skipping hidden subtrees."""
        out = []
        queue = [(self.app, 0)]
        State = self.Atspi.StateType
        while queue and len(out) < _MAX_NODES:
            acc, depth = queue.pop(0)
            try:
                role = acc.get_role_name()
                name = acc.get_name() or ""
                if visible_only and depth > 0:
                    states = acc.get_state_set()
                    if not states.contains(State.SHOWING) and not states.contains(State.VISIBLE):
                        continue
                n = acc.get_child_count()
            except Exception:
                continue
            out.append(Node(acc, role, name, depth))
            for i in range(min(n, 2000)):
                try:
                    child = acc.get_child_at_index(i)
                except Exception:
                    continue
                if child is not None:
                    queue.append((child, depth + 1))
        return out

    def dump(self, out=None):
        lines = [f"{'  ' * n.depth}{n.role}: {n.name}" for n in self.walk(visible_only=False)]
        text = "\n".join(lines)
        if out:
            with open(out, "w") as f:
                f.write(text + "\n")
        return text

    def find_all(self, role, name=None, prefix=None, match=None, description=None):
        """description, when given, must equal the accessible's description ("" for none): it tells apart
        controls of one name (the dialog's "Close" and the shutter's, described "Shutter")."""
        roles = ROLES.get(role, {role})
        found = []
        for n in self.walk():
            if n.role not in roles:
                continue
            if name is not None and n.name != name:
                continue
            if prefix is not None and not n.name.startswith(prefix):
                continue
            if match is not None and not re.search(match, n.name):
                continue
            if description is not None and self.description(n) != description:
                continue
            found.append(n)
        return found

    def find(self, role, name=None, prefix=None, match=None, timeout_s=20, description=None):
        """The first accessible of that role whose name equals name (or begins with prefix, or matches the
        regular expression match); waits up to timeout_s for it to appear."""
        what = f"a {role} named " + (repr(name) if name is not None else
                                     f"{prefix!r}..." if prefix is not None else f"/{match}/")
        if description is not None:
            what += f" described {description!r}"

        def look():
            hits = self.find_all(role, name, prefix, match, description)
            return hits[0] if hits else None

        try:
            return wait_until(what, look, timeout_s, 0.3)
        except HarnessError as e:
            names = sorted({f"{n.role}: {n.name}" for n in self.walk() if n.name})
            raise HarnessError(f"{e}; visible named accessibles: {names[:80]}") from None

    def device_row(self, ip, camera_id=None, timeout_s=20):
        """The device list's row "<camera id> <address>"; a camera added by address has no id until it was
        opened, so without camera_id any row ending in the address matches."""
        if camera_id:
            return self.find("row", f"{camera_id} {ip}", timeout_s=timeout_s)
        return self.find("row", match=r"(^|\s)" + re.escape(ip) + r"$", timeout_s=timeout_s)

    def button(self, ident, timeout_s=20):
        """The button named by a translation id; remembered while it keeps its name and stays shown."""
        name = self.word(ident)
        node = self._buttons.get(name)
        if node is not None:
            try:
                states = node.acc.get_state_set()
                if node.acc.get_name() == name and states.contains(self.Atspi.StateType.SHOWING):
                    return node
            except Exception:
                pass
        node = self.find("button", name, timeout_s=timeout_s)
        self._buttons[name] = node
        return node

    def press(self, node):
        """Runs the accessible's press (or click) action, as a screen reader would."""
        action = node.acc.get_action_iface()
        if action is None:
            raise HarnessError(f"{node} has no actions")
        names = [action.get_action_name(i) for i in range(action.get_n_actions())]
        for wanted in ("press", "click", "activate", "toggle"):
            for i, a in enumerate(names):
                if a.lower() == wanted:
                    if not action.do_action(i):
                        raise HarnessError(f"{node}: action {a} refused")
                    return
        raise HarnessError(f"{node} has no press action (it has {names})")

    def press_button(self, ident, timeout_s=20):
        node = self.button(ident, timeout_s)
        log(f"press {node.name!r}")
        self.press(node)
        return node

    def name(self, node):
        return node.acc.get_name() or ""

    def description(self, node):
        try:
            return node.acc.get_description() or ""
        except Exception:
            return ""

    def is_checked(self, node):
        return node.acc.get_state_set().contains(self.Atspi.StateType.CHECKED)

    def set_checked(self, node, on=True, timeout_s=10):
        """Ticks (or clears) a check box through its own action and waits until its state shows it."""
        if self.is_checked(node) != on:
            self.press(node)
        wait_until(f"{node} to be {'ticked' if on else 'cleared'}", lambda: self.is_checked(node) == on,
                   timeout_s, 0.1)

    def run_action(self, node, wanted):
        """Runs the accessible's action named wanted (any case: "increase", "decrease", ...)."""
        action = node.acc.get_action_iface()
        names = [action.get_action_name(i) for i in range(action.get_n_actions())] if action else []
        for i, a in enumerate(names):
            if a.lower() == wanted.lower():
                if not action.do_action(i):
                    raise HarnessError(f"{node}: action {a} refused")
                return
        raise HarnessError(f"{node} has no {wanted} action (it has {names})")

    def slider_value(self, node):
        """A slider's value: the controls describe a slider by its value."""
        desc = self.description(node)
        try:
            return float(desc)
        except ValueError:
            value = node.acc.get_value_iface()
            if value is None:
                raise HarnessError(f"{node} shows no value") from None
            return value.get_current_value()

    def page_tab(self, ident, timeout_s=20):
        """A tab of a tab bar, by its translation id."""
        return self.find("page tab", self.word(ident), timeout_s=timeout_s)

    def select_tab(self, ident, timeout_s=20):
        tab = self.page_tab(ident, timeout_s)
        log(f"tab {tab.name!r}")
        if not self.is_selected(tab):
            self.press(tab)
        wait_until(f"the tab {tab.name!r} to be the current one", lambda: self.is_selected(tab), timeout_s, 0.1)
        return tab

    # --- text fields and tables ------------------------------------------------------------------------

    def field(self, ident, timeout_s=20):
        """The text field of a labelled input, by its label's translation id. The input and its editor both
        carry the label's words; the editor is the deeper one, and the one a click reaches."""
        name = self.word(ident)
        self.find("text", name, timeout_s=timeout_s)
        nodes = self.find_all("text", name)
        if not nodes:
            raise HarnessError(f"the field {name!r} went away")
        return max(nodes, key=lambda n: n.depth)

    def field_text(self, node):
        """What a text field holds: its description (the controls describe a field by its text), else its
        text interface's contents."""
        desc = self.description(node)
        if desc:
            return desc
        text = node.acc.get_text_iface()
        if text is None:
            return ""
        return text.get_text(0, text.get_character_count()) or ""

    def type_into(self, node, text, timeout_s=10):
        """Replaces a field's text the way a person does: click into it, select all, type. Qt 5.15 offers
        no editable-text interface over AT-SPI, so the keys go through the X server. Waits until the field
        reads the new text."""
        self.click(node)
        time.sleep(0.2)
        self._xdotool("key", "--clearmodifiers", "ctrl+a")
        time.sleep(0.05)
        self._xdotool("type", "--delay", 25, "--clearmodifiers", "--", text)
        wait_until(f"{node} to read {text!r}", lambda: self.field_text(node) == text, timeout_s, 0.1)
        log(f"typed {text!r} into {node.name!r}")

    def children(self, node):
        out = []
        try:
            n = min(node.acc.get_child_count(), 2000)
        except Exception:
            return out
        for i in range(n):
            try:
                child = node.acc.get_child_at_index(i)
                if child is not None:
                    out.append(Node(child, child.get_role_name(), child.get_name() or "", node.depth + 1))
            except Exception:
                continue
        return out

    def row_cells(self, row):
        """The texts of a table row's cells, in column order. Cells without text are not in the
        accessibility tree, so an empty column takes no place in the list."""
        return [c.name for c in self.children(row) if c.role == "table cell"]

    def row_check_box(self, row):
        """The selection check box of a table row, or None."""
        boxes = [c for c in self.children(row) if c.role == "check box"]
        return boxes[0] if boxes else None

    def table_rows(self, match=None):
        """The table rows shown (role "table row"), optionally only those whose name matches the regular
        expression match."""
        return [n for n in self.find_all("table row") if match is None or re.search(match, n.name)]

    def table_row(self, match, timeout_s=20):
        return self.find("table row", match=match, timeout_s=timeout_s)

    def is_selected(self, node):
        return node.acc.get_state_set().contains(self.Atspi.StateType.SELECTED)

    def status_node(self, ident, timeout_s=20):
        """The status-line text "<label words>: <value>" for a label's translation id."""
        return self.find("label", prefix=self.word(ident) + ": ", timeout_s=timeout_s)

    def status_number(self, node):
        """The number in a status-line text as it reads now, None when it shows no number."""
        text = self.name(node)
        m = re.search(r":\s*([-+]?\d+(?:\.\d+)?)", text)
        return float(m.group(1)) if m else None

    def status_value(self, ident, timeout_s=20):
        """The number in the status-line text "<label words>: <value>", None when it shows no number."""
        return self.status_number(self.status_node(ident, timeout_s))

    def set_text(self, node, text):
        editable = node.acc.get_editable_text_iface()
        if editable is None:
            raise HarnessError(f"{node} is not editable")
        if not editable.set_text_contents(text):
            raise HarnessError(f"{node}: text not taken")

    def extents(self, node):
        """(x, y, width, height) on the screen."""
        comp = node.acc.get_component_iface()
        if comp is None:
            raise HarnessError(f"{node} has no screen position")
        r = comp.get_extents(self.Atspi.CoordType.SCREEN)
        if r.width <= 0 or r.height <= 0:
            raise HarnessError(f"{node} has an empty area {r.x},{r.y} {r.width}x{r.height}")
        return r.x, r.y, r.width, r.height

    def window(self):
        frames = [n for n in self.walk() if n.role in ROLES["frame"] and n.depth == 1]
        if not frames:
            raise HarnessError("the program shows no window")
        return frames[0]

    # --- mouse and screen ------------------------------------------------------------------------------

    def _xdotool(self, *args):
        require_tools("xdotool")
        r = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.session.env,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=10)
        if r.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(map(str, args))}: {r.stdout.strip()}")

    def click_at(self, x, y):
        self._xdotool("mousemove", int(x), int(y))
        time.sleep(0.05)
        self._xdotool("click", 1)

    def click(self, node):
        x, y, w, h = self.extents(node)
        self.click_at(x + w / 2, y + h / 2)

    def drag(self, x0, y0, x1, y1, steps=8):
        """Presses the left button at (x0, y0), moves to (x1, y1) in steps and lets go."""
        self._xdotool("mousemove", int(x0), int(y0))
        time.sleep(0.1)
        self._xdotool("mousedown", 1)
        time.sleep(0.05)
        for i in range(1, steps + 1):
            t = i / steps
            self._xdotool("mousemove", int(x0 + (x1 - x0) * t), int(y0 + (y1 - y0) * t))
            time.sleep(0.03)
        self._xdotool("mouseup", 1)
        time.sleep(0.1)

    def drag_in(self, node, fx0, fy0, fx1, fy1):
        """A drag between two points given as fractions of the accessible's area."""
        x, y, w, h = self.extents(node)
        self.drag(x + w * fx0, y + h * fy0, x + w * fx1, y + h * fy1)

    def move(self, x0, y0, x1, y1, steps=8):
        """Moves the pointer without a button held, in steps, so that the program sees it hover."""
        for i in range(1, steps + 1):
            t = i / steps
            self._xdotool("mousemove", int(x0 + (x1 - x0) * t), int(y0 + (y1 - y0) * t))
            time.sleep(0.03)

    def draw(self, tool_ident, canvas, points):
        """Draws one measurement item the way the canvas tools take it: choose the tool, left-click each
        point (the pointer hovering from one to the next drags the item's free handle), right-click to
        finish. points are fractions (fx, fy) of the canvas area."""
        self.press_button(tool_ident)
        x, y, w, h = self.extents(canvas)
        pts = [(x + w * fx, y + h * fy) for fx, fy in points]
        self._xdotool("mousemove", int(pts[0][0]), int(pts[0][1]))
        time.sleep(0.1)
        for i, (px, py) in enumerate(pts):
            if i > 0:
                self.move(pts[i - 1][0], pts[i - 1][1], px, py)
            time.sleep(0.05)
            self._xdotool("click", 1)
            time.sleep(0.05)
        # A little further hover, then the right button ends the item (the point tool follows the pointer).
        self.move(pts[-1][0], pts[-1][1], pts[-1][0] + 1, pts[-1][1] + 1, steps=1)
        self._xdotool("mousemove", int(pts[-1][0]), int(pts[-1][1]))
        time.sleep(0.05)
        self._xdotool("click", 3)
        time.sleep(0.1)

    def park_pointer(self):
        """Moves the pointer to the window's title area, so that no hover read-out shows in a picture."""
        x, y, w, _h = self.extents(self.window())
        self._xdotool("mousemove", int(x + w / 2), int(y + 10))
        time.sleep(0.2)

    def screenshot(self, out_png, whole_screen=False):
        """The program's window (or the whole screen) as a PNG."""
        region = None if whole_screen else self.extents(self.window())
        self.session.screenshot(out_png, region)
        log(f"screenshot {out_png}")
        return out_png


# --- the dual-light tool's window ------------------------------------------------------------------------

QELM_IR_SIZE = (640, 512)
# The fake visible camera's picture unless the program sets another size.
QELM_VIS_SIZE = (512, 512)
VIS_FILE_HEADER = 1024
VIS_FRAME_EXTRA = 128
# What the devices log when their preview stops: thermal first, then visible.
QELM_IR_ENDED = re.compile(r"IR/IRDevice.*preview ended: frames shown (\d+), skipped (\d+)")
QELM_VIS_ENDED = re.compile(r"VIS/VISDevice.*(?:preview ended|stopped): frames shown (\d+), skipped (\d+)")


def check(cond, msg):
    if not cond:
        raise HarnessError(msg)


def vis_header(path):
    """(width, height) from a raw visible recording's 1024-byte header."""
    with open(path, "rb") as f:
        head = f.read(VIS_FILE_HEADER)
    if len(head) < VIS_FILE_HEADER:
        raise HarnessError(f"{path}: shorter than its {VIS_FILE_HEADER}-byte header")
    return struct.unpack("<HH", head[:4])


def vis_stamps(path, width, height, indexes):
    """The time stamps (100-ns ticks since 1970) of the frames at indexes of a raw visible recording."""
    out = []
    with open(path, "rb") as f:
        for i in indexes:
            f.seek(VIS_FILE_HEADER + i * (width * height + VIS_FRAME_EXTRA) + 8)
            out.append(struct.unpack("<q", f.read(8))[0])
    return out


def check_vis(path, width, height):
    """A raw visible recording: a 1024-byte header naming the picture's size, then whole frame records of
    W H + 128 bytes. Returns the number of frames."""
    size = os.path.getsize(path)
    record = width * height + VIS_FRAME_EXTRA
    frames, rest = divmod(size - VIS_FILE_HEADER, record)
    if size < VIS_FILE_HEADER + record or rest:
        raise HarnessError(f"{path}: {size} bytes are not 1024 + k x {record} with k > 0 (a {width}x{height} "
                           "picture)")
    if vis_header(path) != (width, height):
        raise HarnessError(f"{path}: the header names a {vis_header(path)} picture, not {width}x{height}")
    return frames


def qml_errors(log_text):
    """The lines of a tool's log that report errors of its own views."""
    return [l for l in log_text.splitlines() if "qrc:/Views" in l or (".qml:" in l and "file:/" in l)]


class QelmWindow:
    """The dual-light tool's pages through a Ui made with tool="Qelm": the preview page's two state bars and
    buttons, the files page's two replay panels."""

    FRAME_INFO = re.compile(r"\s(\d+)/(\d+)$")

    def __init__(self, ui):
        self.ui = ui

    # --- preview page ---

    def fps_nodes(self, timeout_s=20):
        """(thermal, visible) "FPS: <n>" texts: the thermal state bar is the left one."""
        prefix = self.ui.word("FPS") + ": "
        nodes = wait_until("both state bars", lambda: (n := self.ui.find_all("label", prefix=prefix))
                           and len(n) >= 2 and n, timeout_s, 0.3)
        nodes = sorted(nodes, key=lambda n: self.ui.extents(n)[0])
        return nodes[0], nodes[-1]

    def fps(self, side):
        ir, vis = self.fps_nodes()
        return self.ui.status_number(ir if side == "IR" else vis)

    def start_cameras(self, timeout_s=60):
        """Start IR, wait for its frames per second, then Start VIS the same way; returns both rates."""
        ui = self.ui
        ir_node, vis_node = self.fps_nodes()
        ui.press_button("StartIR")
        ui.button("StopIR", timeout_s=30)
        ir = wait_until("the thermal state bar to show frames per second above 0",
                        lambda: (v := ui.status_number(ir_node)) and v > 0 and v, timeout_s, 0.5)
        ui.press_button("StartVIS")
        ui.button("StopVIS", timeout_s=30)
        vis = wait_until("the visible state bar to show frames per second above 0",
                         lambda: (v := ui.status_number(vis_node)) and v > 0 and v, timeout_s, 0.5)
        return ir, vis

    def stop_cameras(self, timeout_s=30):
        ui = self.ui
        ui.press_button("StopIR")
        ui.button("StartIR", timeout_s=timeout_s)
        ui.press_button("StopVIS")
        ui.button("StartVIS", timeout_s=timeout_s)

    def start_record(self, timeout_s=30):
        """Start Record; returns the recording's base path once the "Recording: <base>" text shows."""
        ui = self.ui
        ui.press_button("StartRecord")
        prefix = ui.word("Recording") + ": "
        node = ui.find("label", prefix=prefix, timeout_s=timeout_s)
        ui.button("StopRecord", timeout_s=timeout_s)
        base = ui.name(node)[len(prefix):]
        check(base != "", "the recording shows no file name")
        log(f"recording {base}")
        return base

    def stop_record(self, timeout_s=30):
        self.ui.press_button("StopRecord")
        self.ui.button("StartRecord", timeout_s=timeout_s)

    def record(self, seconds):
        base = self.start_record()
        time.sleep(seconds)
        self.stop_record()
        return base

    # --- files page ---

    def frame_info(self, side, timeout_s=10):
        """(index, count) of a replay side's "<frame words>: <time>  i/n" text; (0, 0) without a file."""
        node = self.ui.status_node("FrameInfo" + side, timeout_s=timeout_s)
        m = self.FRAME_INFO.search(self.ui.name(node))
        if not m:
            raise HarnessError(f"{node.name!r} shows no frame index")
        return int(m.group(1)), int(m.group(2))

    def wait_frame_info(self, side, predicate, what, timeout_s=20):
        return wait_until(what, lambda: (v := self.frame_info(side, 2)) and predicate(*v) and v, timeout_s, 0.2)

    def step(self, side, forward=True):
        """Next Frame (or Previous Frame) of one side: the buttons share their name, their descriptions
        tell the sides apart."""
        ident = "NextFrame" if forward else "PreviousFrame"
        node = self.ui.find("button", self.ui.word(ident), description=self.ui.word(ident + side))
        log(f"press {node.name!r} ({side})")
        self.ui.press(node)

    def slider(self, side):
        return self.ui.find("slider", self.ui.word("FrameSlider" + side))

    def offset_ms(self):
        """The offset text's milliseconds, None while it shows none."""
        node = self.ui.status_node("Offset", timeout_s=5)
        m = re.search(r":\s*([-+]?\d+(?:\.\d+)?)\s*ms", self.ui.name(node))
        return float(m.group(1)) if m else None

    def sync(self, on=True):
        self.ui.set_checked(self.ui.find("check box", self.ui.word("Sync")), on)


# --- end-to-end test runner -----------------------------------------------------------------------------

E2E_SKIP = 77


def run_e2e(script, name, scenario, driver, usage, needs=()):
    """Runs an end-to-end scenario as a CTest test: script BUILD. Skips when a program of needs (besides the
    display's and the mouse's) is missing. Re-enters the script in a private network namespace, calls scenario(build, session, artefacts), and leaves screenshots and every log in
    <build>/test-artifacts/<name>/ (after a failure also a full screenshot and the accessibility tree of
    driver["ui"]). Returns the exit code: 0 passed, 1 failed, 77 skipped (cannot run here at all)."""
    if len(sys.argv) != 2:
        print(usage, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    try:
        require_tools("Xvfb", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher", "xdotool", "ffmpeg", *needs)
        import gi
        gi.require_version("Atspi", "2.0")
    except (Unavailable, ImportError, ValueError) as e:
        print(f"SKIP: {e}")
        return E2E_SKIP
    if not enter_private_netns([os.path.abspath(script), build]):
        print("SKIP: the cameras answer discovery only inside a private network namespace, which needs root "
              "(run the test as root)")
        return E2E_SKIP

    artefacts = os.path.join(build, "test-artifacts", name)
    shutil.rmtree(artefacts, ignore_errors=True)
    os.makedirs(artefacts)
    session = Session()
    started = time.monotonic()
    ok = False
    try:
        scenario(build, session, artefacts)
        ok = True
    except (HarnessError, Unavailable) as e:
        print(f"FAIL: {e}", file=sys.stderr)
    except Exception:
        traceback.print_exc()
    finally:
        if not ok:
            # What the window looked like and held when it went wrong.
            try:
                session.screenshot(os.path.join(artefacts, "failure.png"))
                if "ui" in driver:
                    driver["ui"].dump(os.path.join(artefacts, "failure-tree.txt"))
            except Exception as e:
                print(f"(no failure screenshot or tree: {e})", file=sys.stderr)
        # The logs of every process, and the program's own, beside the screenshots.
        logs = [session.path(n) for n in os.listdir(session.workdir) if n.endswith(".log")]
        for folder in glob.glob(session.path("prog", "bin", "*-Log")):
            logs += collect_files(folder, "*.log")
        for f in logs:
            shutil.copy2(f, artefacts)
        session.stop()
    for f in sorted(os.listdir(artefacts)):
        print(f"artefact: {os.path.join(artefacts, f)}")
    print(f"{'passed' if ok else 'FAILED'} in {time.monotonic() - started:.1f} s")
    return 0 if ok else 1


# ---------------------------------------------------------------------------------------------------------
# The demos' shared entry

def local_display_socket(display):
    """The X server's socket path for a local display (":0", "unix:0.0"), else None."""
    m = re.fullmatch(r"(?:unix)?:(\d+)(?:\.\d+)?", display or "")
    if not m:
        return None
    path = f"/tmp/.X11-unix/X{m.group(1)}"
    return path if os.path.exists(path) else None


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise HarnessError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def demo_main(doc, script, run):
    """The demos' command line: [BUILD] [--headless] [--update-docs]. Headless (also without DISPLAY) the demo
    re-enters itself in a private network namespace when it may; then calls run(build, headless, in_netns,
    update_docs) and returns its exit code (1 after a harness error, 2 for a usage error)."""
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    flags = {a for a in sys.argv[1:] if a.startswith("--")}
    if flags - {"--headless", "--update-docs"} or len(args) > 1:
        print(doc, file=sys.stderr)
        return 2
    build = os.path.abspath(args[0] if args else os.path.join(REPO, "build"))
    headless_run = "--headless" in flags or "--update-docs" in flags or not os.environ.get("DISPLAY")
    # In a new network namespace the X server stays reachable through its socket file in /tmp/.X11-unix
    # (the abstract socket and TCP are per namespace, and the X library falls back to the file by itself).
    # A display over TCP (ssh -X) is not: then the cameras stay on the host's loopback.
    may_use_netns = headless_run or local_display_socket(os.environ.get("DISPLAY")) is not None
    in_netns = may_use_netns and enter_private_netns([script] + sys.argv[1:])
    try:
        return run(build, headless_run, in_netns, "--update-docs" in flags)
    except (HarnessError, Unavailable, TimeoutError) as e:
        print(f"demo: {e}", file=sys.stderr)
        return 1
