"""ctypes mirror of the SDK's public header (sdk/include/SarvikSDK.h): the packed records this package
uses and the signatures of the functions it calls. Nothing here is compiled.

The library is found through the SARVIK_LIB environment variable (a path to libSarvikSDK.so), then the
build tree beside this package (../../build/lib), then the system's loader."""

import ctypes
import os
import threading

c = ctypes


class _Packed(c.LittleEndianStructure):
    _pack_ = 1


class LoginInfo(_Packed):
    _fields_ = [("ip", c.c_char * 128), ("reserved", c.c_char * 64)]


class CameraBasicInfo(_Packed):
    _fields_ = [
        ("cameraId", c.c_char * 32), ("cameraName", c.c_char * 32), ("cameraType", c.c_char * 16),
        ("fpaId", c.c_char * 32), ("hardwareId", c.c_char * 32), ("softwareId", c.c_char * 32),
        ("dataWidth", c.c_uint16), ("dataHeight", c.c_uint16), ("dataFps", c.c_uint16),
        ("dataRatio", c.c_uint16), ("sendRatio", c.c_uint16), ("dataTransform", c.c_uint8),
        ("reserved_187", c.c_uint8 * 3), ("desmearLevel", c.c_uint8), ("reserved_191", c.c_uint8 * 21),
        ("videoWidth", c.c_uint16), ("videoHeight", c.c_uint16),
    ]


class CameraNetworkInfo(_Packed):
    _fields_ = [
        ("useStaticIp", c.c_uint8), ("reserved_1", c.c_uint8 * 3), ("staticIp", c.c_uint32),
        ("subnetMask", c.c_uint32), ("gateway", c.c_uint32), ("reserved_16", c.c_uint8 * 4),
        ("macAddr", c.c_uint8 * 6), ("mtu", c.c_uint16), ("dns", c.c_uint32), ("dns2", c.c_uint32),
        ("reserved_36", c.c_uint8 * 16),
    ]


class FixInfo(_Packed):
    _fields_ = [
        ("atmosphericTemperature", c.c_float), ("relativeHumidity", c.c_float), ("visibility", c.c_float),
        ("rainfallIntensity", c.c_float), ("snowfallIntensity", c.c_float), ("targetDistance", c.c_float),
        ("globalEmissivity", c.c_float), ("infraredWindowTrans", c.c_float), ("tempOffset", c.c_float),
        ("enableAtmFix", c.c_uint8), ("reserved_37", c.c_uint8 * 3),
        ("infraredWindowTempOffset", c.c_float), ("reserved_44", c.c_uint8 * 28),
    ]


class CameraTimeInfo(_Packed):
    _fields_ = [("ntpServer", c.c_char * 32), ("ntpServer2", c.c_char * 32), ("timeZone", c.c_char * 32),
                ("reserved_96", c.c_uint8 * 32)]


class DataFrameHeader(_Packed):
    _fields_ = [
        ("width", c.c_uint16), ("height", c.c_uint16), ("encodedLength", c.c_int32), ("dataKind", c.c_uint8),
        ("reserved_9", c.c_uint8 * 3), ("slope", c.c_uint16), ("offset", c.c_int16), ("fpaTemp", c.c_int32),
        ("shellTemp", c.c_int32), ("reserved_24", c.c_uint8), ("gpioInput", c.c_uint8),
        ("reserved_26", c.c_uint8 * 6), ("timestamp", c.c_int64), ("shellTempHW", c.c_int32),
        ("reserved_44", c.c_uint8 * 4), ("netd", c.c_float), ("sstd", c.c_float),
        ("reserved_56", c.c_uint8 * 72),
    ]


class DataFrame(c.Structure):
    _fields_ = [("header", c.POINTER(DataFrameHeader)), ("data", c.POINTER(c.c_int16)),
                ("scratch", c.POINTER(c.c_int16)), ("image", c.POINTER(c.c_uint32)),
                ("extra", c.POINTER(c.c_uint8)), ("previous", c.c_void_p)]


class FrameFileInfo(_Packed):
    _fields_ = [
        ("cameraId", c.c_char * 32), ("timestamp", c.c_int64), ("width", c.c_uint16), ("height", c.c_uint16),
        ("fixInfo", FixInfo), ("dataFps", c.c_int16), ("dataRatio", c.c_int16), ("frameCount", c.c_int32),
        ("recorder", c.c_uint8), ("reserved_125", c.c_uint8), ("version", c.c_int16),
    ]


class FrameCover(c.Structure):
    _fields_ = [("info", c.POINTER(FrameFileInfo)), ("block", c.c_void_p),
                ("header", c.POINTER(DataFrameHeader)), ("data", c.POINTER(c.c_int16)),
                ("reserved_32", c.c_void_p), ("image", c.c_void_p), ("reserved_48", c.c_int32),
                ("imageLength", c.c_int32)]


PreviewCallback = c.CFUNCTYPE(None, c.c_int, c.POINTER(DataFrame), c.c_void_p)


class PreviewParam(c.Structure):
    _fields_ = [("previewKind", c.c_uint8), ("transType", c.c_uint8), ("reserved_2", c.c_uint8 * 6),
                ("display", c.c_void_p), ("callback", PreviewCallback), ("user", c.c_void_p),
                ("reserved_32", c.c_uint16), ("reserved_34", c.c_uint16), ("reserved_36", c.c_uint8 * 4)]


class DiscoverCameraResp2(_Packed):
    _fields_ = [("basicInfo", CameraBasicInfo), ("cameraIp", c.c_uint32)]


class DiscoverCameraNode(c.Structure):
    pass


# Natural alignment: the next pointer at 224, the node 232 bytes.
DiscoverCameraNode._fields_ = [("camera", DiscoverCameraResp2), ("pad", c.c_uint8 * 4),
                               ("next", c.POINTER(DiscoverCameraNode))]

_SIZES = {LoginInfo: 192, CameraBasicInfo: 216, CameraNetworkInfo: 52, FixInfo: 72, CameraTimeInfo: 128,
          DataFrameHeader: 128, DataFrame: 48, FrameFileInfo: 128, FrameCover: 56, PreviewParam: 40,
          DiscoverCameraNode: 232}
for _t, _n in _SIZES.items():
    assert c.sizeof(_t) == _n, (_t.__name__, c.sizeof(_t), _n)
# Key offsets, as the header checks them.
for _t, _f, _o in [(CameraBasicInfo, "dataWidth", 176), (CameraBasicInfo, "videoWidth", 212),
                   (CameraNetworkInfo, "macAddr", 20), (CameraNetworkInfo, "dns2", 32),
                   (FixInfo, "enableAtmFix", 36), (FixInfo, "infraredWindowTempOffset", 40),
                   (CameraTimeInfo, "timeZone", 64), (DataFrameHeader, "slope", 12),
                   (DataFrameHeader, "timestamp", 32), (DataFrameHeader, "sstd", 52),
                   (FrameFileInfo, "fixInfo", 44), (FrameFileInfo, "frameCount", 120),
                   (FrameCover, "imageLength", 52), (PreviewParam, "callback", 16),
                   (DiscoverCameraNode, "next", 224)]:
    assert getattr(_t, _f).offset == _o, (_t.__name__, _f, getattr(_t, _f).offset, _o)

INFO_CAMERA_BASIC, INFO_CAMERA_NETWORK, INFO_FIX, INFO_CAMERA_TIME = 0, 1, 2, 6
PREVIEW_TEMPERATURE = 2
SAVE_STREAM = 2
PLAYBACK_BITMAP, PLAYBACK_SNAPSHOT, PLAYBACK_STREAM = 0, 1, 2
TEMP_TAIL_MARK = 20160901

_lock = threading.RLock()
_lib = None
_started = 0


def _candidates():
    env = os.environ.get("SARVIK_LIB")
    if env:
        yield env
    here = os.path.dirname(os.path.abspath(__file__))
    yield os.path.normpath(os.path.join(here, "..", "..", "build", "lib", "libSarvikSDK.so"))
    yield "libSarvikSDK.so"


def _declare(lib):
    i, p, v = c.c_int, c.c_void_p, c.c_char_p
    table = {
        "Sarvik_InitSDK": (i, []), "Sarvik_FreeSDK": (None, []),
        "Sarvik_Login": (i, [c.POINTER(LoginInfo), c.POINTER(CameraBasicInfo)]), "Sarvik_Logout": (i, [i]),
        "Sarvik_GetInfo": (i, [i, i, p, i]),
        "Sarvik_DiscoverCameras": (c.POINTER(DiscoverCameraNode), []),
        "Sarvik_DiscoverCamerasFree": (None, [c.POINTER(c.POINTER(DiscoverCameraNode))]),
        "Sarvik_StartPreview": (i, [i, c.POINTER(PreviewParam)]), "Sarvik_StopPreview": (i, [i]),
        "Sarvik_BeginSave": (i, [i, v, i]), "Sarvik_EndSave": (i, [i, i]),
        "Sarvik_SaveFrame": (i, [i, v, i]),
        "SarvikPlayback_Create": (p, []), "SarvikPlayback_Free": (None, [c.POINTER(p)]),
        "SarvikPlayback_OpenFile": (i, [p, v, i]), "SarvikPlayback_ReadCover": (i, [p, c.POINTER(FrameCover)]),
        "SarvikPlayback_ReadFrame": (i, [p, i, c.POINTER(DataFrame)]),
        "SarvikPlayback_SetImage": (i, [p, p, c.POINTER(c.c_int)]),
        "Sarvik_AllocPaletteData": (c.POINTER(c.c_char), [c.POINTER(c.c_int)]),
        "Sarvik_FreePaletteData": (None, [c.POINTER(c.POINTER(c.c_char))]),
    }
    for name, (res, args) in table.items():
        fn = getattr(lib, name)
        fn.restype = res
        fn.argtypes = args


def lib():
    """The loaded library with its signatures declared (loaded once)."""
    global _lib
    with _lock:
        if _lib is None:
            errors = []
            for path in _candidates():
                if os.sep in path and not os.path.exists(path):
                    continue
                try:
                    loaded = c.CDLL(path)
                except OSError as e:
                    errors.append(str(e))
                    continue
                _declare(loaded)
                _lib = loaded
                break
            if _lib is None:
                raise OSError("libSarvikSDK.so not found (set SARVIK_LIB): " + "; ".join(errors))
        return _lib


def start():
    """Starts the SDK once per process user (counted); raises SarvikError on failure."""
    global _started
    l = lib()
    with _lock:
        if _started == 0:
            check(l.Sarvik_InitSDK(), "starting the SDK")
        _started += 1


def stop():
    """Undoes one start(); the last one releases the SDK."""
    global _started
    with _lock:
        if _started > 0:
            _started -= 1
            if _started == 0:
                lib().Sarvik_FreeSDK()


class SarvikError(Exception):
    """An SDK call failed; .status holds its negative status code."""

    def __init__(self, what, status):
        super().__init__("%s: status %d" % (what, status))
        self.status = status


def check(status, what):
    if status < 0:
        raise SarvikError(what, status)
    return status


def record_dict(rec):
    """A ctypes record as a dict: text fields decoded, reserved fields left out, nested records as dicts."""
    out = {}
    for name, typ in rec._fields_:
        if name.startswith("reserved") or name == "pad":
            continue
        val = getattr(rec, name)
        if isinstance(val, bytes):
            val = val.split(b"\0", 1)[0].decode("utf-8", "replace")
        elif isinstance(val, c.Structure):
            val = record_dict(val)
        elif isinstance(val, c.Array):
            val = list(val)
        elif typ is c.c_float:
            # A float32 as its shortest decimal (0.95, not 0.949999988079071).
            val = float("%.7g" % val)
        out[name] = val
    return out
