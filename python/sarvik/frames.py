"""Temperature frames as NumPy arrays: from a live preview of a camera or from recorded files."""

import ctypes
import queue

import numpy as np

from . import _lib


class Frame:
    """One temperature frame, copied out of the SDK.

    .celsius    float32 array (height x width), deg C = sample / slope + offset
    .samples    int16 array of the raw samples
    .bgra       uint8 array (height x width x 4): the SDK's rendering (stretch and palette)
    .timestamp  the camera's stamp: 100-ns ticks since 1970-01-01 UTC
    .index      place in its file (None for a live frame)
    .header     the frame header as a dict
    """

    __slots__ = ("samples", "bgra", "timestamp", "slope", "offset", "index", "header")

    def __init__(self, frame, index=None):
        h = frame.header.contents
        w, ht = h.width, h.height
        n = w * ht
        self.samples = np.ctypeslib.as_array(frame.data, shape=(n,)).reshape(ht, w).copy()
        self.bgra = np.ctypeslib.as_array(ctypes.cast(frame.image, ctypes.POINTER(ctypes.c_uint8)),
                                          shape=(n * 4,)).reshape(ht, w, 4).copy()
        self.timestamp = h.timestamp
        self.slope = h.slope
        self.offset = h.offset
        self.index = index
        self.header = _lib.record_dict(h)

    @property
    def celsius(self):
        slope = np.float32(self.slope if self.slope else 1)
        return self.samples.astype(np.float32) / slope + np.float32(self.offset)

    @property
    def seconds(self):
        """The stamp as Unix seconds (float)."""
        return self.timestamp / 1e7

    def __repr__(self):
        return "Frame(%dx%d, index=%r, timestamp=%d)" % (self.samples.shape[1], self.samples.shape[0],
                                                          self.index, self.timestamp)


def _kind_of(path):
    """Playback type of a file from its bytes: a snapshot ends with the tail mark, a stream starts with BM."""
    with open(path, "rb") as f:
        head = f.read(2)
        f.seek(0, 2)
        size = f.tell()
        if size >= 36:
            f.seek(size - 36)
            end = f.read(36)
            if int.from_bytes(end[4:8], "little") == _lib.TEMP_TAIL_MARK:
                return _lib.PLAYBACK_SNAPSHOT
    if head == b"BM":
        return _lib.PLAYBACK_BITMAP if path.lower().endswith(".bmp") else _lib.PLAYBACK_STREAM
    raise ValueError("%s: not a stream, snapshot or bitmap file" % path)


class FileFrames:
    """The frames of a stream, snapshot or single-frame bitmap file through the SDK's playback.

    Iterating yields Frame objects in order; len() is the number of whole frames; frames[i] reads one.
    palette: index into the SDK's palette table for .bgra (None keeps IronBow).
    Use as a context manager (or call close())."""

    def __init__(self, path, palette=None):
        _lib.start()
        self._l = _lib.lib()
        self._pb = ctypes.c_void_p(self._l.SarvikPlayback_Create())
        if not self._pb:
            _lib.stop()
            raise _lib.SarvikError("playback", -5)
        try:
            self.path = path
            self.kind = _kind_of(path)
            _lib.check(self._l.SarvikPlayback_OpenFile(self._pb, path.encode(), self.kind), path)
            cover = _lib.FrameCover()
            _lib.check(self._l.SarvikPlayback_ReadCover(self._pb, ctypes.byref(cover)), path)
            self.info = _lib.record_dict(cover.info.contents)
            self._count = cover.info.contents.frameCount if self.kind == _lib.PLAYBACK_STREAM else 1
            if palette is not None:
                p = ctypes.c_int(palette)
                self._l.SarvikPlayback_SetImage(self._pb, None, ctypes.byref(p))
        except Exception:
            self.close()
            raise

    def __len__(self):
        return self._count

    def __getitem__(self, index):
        if index < 0:
            index += self._count
        if not 0 <= index < self._count:
            raise IndexError(index)
        frame = _lib.DataFrame()
        _lib.check(self._l.SarvikPlayback_ReadFrame(self._pb, index, ctypes.byref(frame)),
                   "%s: frame %d" % (self.path, index))
        return Frame(frame, index)

    def __iter__(self):
        for i in range(self._count):
            yield self[i]

    def close(self):
        if self._pb:
            self._l.SarvikPlayback_Free(ctypes.byref(self._pb))
            self._pb = ctypes.c_void_p()
            _lib.stop()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:
            pass


class LiveFrames:
    """Frames of a running temperature preview: the SDK's callback copies each frame into a bounded queue
    (the oldest is dropped when the reader falls behind) and iteration takes them out.

    Iterating stops after `count` frames (None: no limit) or when no frame came within `timeout` seconds
    (raises TimeoutError). Use as a context manager, or call stop()."""

    def __init__(self, user, count=None, timeout=5.0, depth=8, record=None):
        self._l = _lib.lib()
        self._queue = queue.Queue(maxsize=depth)
        self._count = count
        self._timeout = timeout
        self._record = None
        # Kept on the object: the SDK calls it until the preview is stopped.
        self._cb = _lib.PreviewCallback(self._on_frame)
        param = _lib.PreviewParam()
        param.previewKind = _lib.PREVIEW_TEMPERATURE
        param.callback = self._cb
        self._preview = _lib.check(self._l.Sarvik_StartPreview(user, ctypes.byref(param)), "preview")
        if record:
            self.record(record)

    def _on_frame(self, status, frame, user):
        if status != 0 or not frame:
            return
        f = Frame(frame.contents)
        while True:
            try:
                self._queue.put_nowait(f)
                return
            except queue.Full:
                try:
                    self._queue.get_nowait()
                except queue.Empty:
                    pass

    def record(self, path):
        """Starts recording every received frame to a stream file at path (ended by stop_recording/stop)."""
        _lib.check(self._l.Sarvik_BeginSave(self._preview, path.encode(), _lib.SAVE_STREAM), path)
        self._record = path

    def stop_recording(self):
        if self._record is not None:
            self._record = None
            _lib.check(self._l.Sarvik_EndSave(self._preview, _lib.SAVE_STREAM), "end of recording")

    def __iter__(self):
        n = 0
        while self._count is None or n < self._count:
            try:
                yield self._queue.get(timeout=self._timeout)
            except queue.Empty:
                raise TimeoutError("no frame within %.1f s" % self._timeout) from None
            n += 1

    def stop(self):
        if self._preview is not None:
            self.stop_recording()
            self._l.Sarvik_StopPreview(self._preview)
            self._preview = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def palettes():
    """The names of the SDK's palette table, in table order (the index is what palette= takes)."""
    _lib.start()
    try:
        l = _lib.lib()
        count = ctypes.c_int(0)
        table = l.Sarvik_AllocPaletteData(ctypes.byref(count))
        if not table:
            return []
        raw = ctypes.string_at(table, count.value * 1056)
        l.Sarvik_FreePaletteData(ctypes.byref(table))
        return [raw[i * 1056:i * 1056 + 32].split(b"\0", 1)[0].decode() for i in range(count.value)]
    finally:
        _lib.stop()
