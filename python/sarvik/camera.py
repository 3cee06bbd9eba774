"""Discovery and sessions: a Camera is a logged-in session, closed on leaving its `with` block."""

import ctypes
import socket
import struct

from . import _lib
from .frames import LiveFrames

_RECORDS = {
    "basic": (_lib.INFO_CAMERA_BASIC, _lib.CameraBasicInfo),
    "network": (_lib.INFO_CAMERA_NETWORK, _lib.CameraNetworkInfo),
    "fix": (_lib.INFO_FIX, _lib.FixInfo),
    "time": (_lib.INFO_CAMERA_TIME, _lib.CameraTimeInfo),
}


def _ip_text(host_order):
    return socket.inet_ntoa(struct.pack(">I", host_order))


def discover():
    """Broadcasts one discovery request (bounded by the SDK's time-out) and returns a list of dicts:
    "ip" plus the fields of each camera's CameraBasicInfo."""
    _lib.start()
    try:
        l = _lib.lib()
        head = l.Sarvik_DiscoverCameras()
        found = []
        node = head
        while node:
            cam = node.contents.camera
            d = _lib.record_dict(cam.basicInfo)
            d["ip"] = _ip_text(cam.cameraIp)
            found.append(d)
            node = node.contents.next
        if head:
            l.Sarvik_DiscoverCamerasFree(ctypes.byref(head))
        return found
    finally:
        _lib.stop()


class Camera:
    """A session on the camera at ip. The SDK is started on entering and released on leaving.

    with Camera("127.0.0.2") as cam:
        print(cam.basic["cameraId"])
        for frame in cam.frames(count=10):
            print(frame.celsius.max())
    """

    def __init__(self, ip):
        self.ip = ip
        self.user = None
        self.basic = None

    def login(self):
        _lib.start()
        login = _lib.LoginInfo()
        login.ip = self.ip.encode()
        basic = _lib.CameraBasicInfo()
        try:
            self.user = _lib.check(_lib.lib().Sarvik_Login(ctypes.byref(login), ctypes.byref(basic)),
                                   "login to " + self.ip)
        except Exception:
            _lib.stop()
            raise
        self.basic = _lib.record_dict(basic)
        return self

    def logout(self):
        if self.user is not None:
            _lib.lib().Sarvik_Logout(self.user)
            self.user = None
            _lib.stop()

    def __enter__(self):
        return self.login()

    def __exit__(self, *exc):
        self.logout()

    def record(self, kind):
        """One camera record as a dict: kind is "basic", "network", "fix" or "time"."""
        info_type, struct_type = _RECORDS[kind]
        rec = struct_type()
        _lib.check(_lib.lib().Sarvik_GetInfo(self.user, info_type, ctypes.byref(rec), ctypes.sizeof(rec)),
                   "record " + kind)
        d = _lib.record_dict(rec)
        if kind == "network":
            for k in ("staticIp", "subnetMask", "gateway", "dns", "dns2"):
                d[k] = _ip_text(d[k])
            d["macAddr"] = ":".join("%02x" % b for b in d["macAddr"])
        return d

    def frames(self, count=None, timeout=5.0, record=None):
        """A LiveFrames iterator over a new temperature preview (record: also record to that stream file)."""
        return LiveFrames(self.user, count=count, timeout=timeout, record=record)

    def snapshot(self, path, with_temperatures=True):
        """Fetches a snapshot from the camera into path: its JPEG, then the temperature tail."""
        _lib.check(_lib.lib().Sarvik_SaveFrame(self.user, path.encode(), 1 if with_temperatures else 0), path)
        return path
