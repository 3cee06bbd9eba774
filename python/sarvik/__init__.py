"""sarvik: the thermal cameras of the Sarvik SDK and their recordings from Python, through ctypes.

    import sarvik
    cams = sarvik.discover()                       # list of dicts
    with sarvik.Camera("127.0.0.2") as cam:        # login / logout
        print(cam.record("fix"))
        for frame in cam.frames(count=5):          # frame.celsius, frame.bgra, frame.timestamp
            print(frame.celsius.mean())
        cam.snapshot("snap.jpg")
    with sarvik.open_file("rec.stream") as rec:    # stream, snapshot or single-frame bitmap files
        print(len(rec), rec[0].celsius.max())
"""

from ._lib import SarvikError
from .camera import Camera, discover
from .frames import FileFrames, Frame, LiveFrames, palettes


def open_file(path, palette=None):
    """The frames of a recorded file (FileFrames)."""
    return FileFrames(path, palette=palette)


__all__ = ["Camera", "discover", "FileFrames", "Frame", "LiveFrames", "SarvikError", "open_file", "palettes"]
