"""The sarvik package on a virtual camera: session records, live frames, recording and snapshots."""

import os
import sys
import tempfile
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(__file__))
import sarvik  # noqa: E402
from vcam import Vcam  # noqa: E402

IP = "127.0.0.110"
W, H = 160, 120


def setUpModule():
    global CAM, TMP
    CAM = Vcam(IP, "--size", "%dx%d" % (W, H), "--camera-id", "PYCAM-7", "--slope", "50", "--offset", "-3")
    TMP = tempfile.TemporaryDirectory()


def tearDownModule():
    CAM.stop()
    TMP.cleanup()


class CameraRecords(unittest.TestCase):
    def test_records_are_dicts_of_the_header_fields(self):
        # (record, field, check)
        cases = [
            ("basic", "cameraId", lambda v: v == "PYCAM-7"),
            ("basic", "dataWidth", lambda v: v == W),
            ("basic", "dataHeight", lambda v: v == H),
            ("fix", "globalEmissivity", lambda v: 0 < v <= 1),
            ("fix", "enableAtmFix", lambda v: v in (0, 1)),
            ("time", "timeZone", lambda v: isinstance(v, str) and "/" in v),
            ("network", "staticIp", lambda v: v.count(".") == 3),
            ("network", "macAddr", lambda v: len(v.split(":")) == 6),
        ]
        with sarvik.Camera(IP) as cam:
            self.assertEqual(cam.basic["cameraId"], "PYCAM-7")
            for kind, field, ok in cases:
                with self.subTest(kind=kind, field=field):
                    rec = cam.record(kind)
                    self.assertFalse(any(k.startswith("reserved") for k in rec))
                    self.assertTrue(ok(rec[field]), rec[field])

    def test_unreachable_camera_raises_with_status(self):
        with self.assertRaises(sarvik.SarvikError) as e:
            sarvik.Camera("127.0.0.111").login()
        self.assertLess(e.exception.status, 0)


class LiveAndRecorded(unittest.TestCase):
    def test_live_frames_recording_and_snapshot_agree_with_playback(self):
        rec_path = os.path.join(TMP.name, "live.stream")
        snap_path = os.path.join(TMP.name, "snap.jpg")
        with sarvik.Camera(IP) as cam:
            with cam.frames(count=6, timeout=5, record=rec_path) as live:
                frames = list(live)
            cam.snapshot(snap_path)
        self.assertEqual(len(frames), 6)
        stamps = [f.timestamp for f in frames]
        self.assertEqual(stamps, sorted(set(stamps)))
        for f in frames:
            self.assertEqual(f.celsius.shape, (H, W))
            self.assertEqual(f.celsius.dtype, np.float32)
            self.assertEqual(f.bgra.shape, (H, W, 4))
            self.assertEqual(f.bgra.dtype, np.uint8)
            # The camera's scale (slope 50, offset -3) is the one applied.
            self.assertEqual((f.slope, f.offset), (50, -3))
            np.testing.assert_array_equal(f.celsius, f.samples.astype(np.float32) / 50 - 3)
            self.assertTrue(10 < float(np.median(f.celsius)) < 40, float(np.median(f.celsius)))
        # Every frame the recording holds was one the callback saw, samples and all.
        by_stamp = {f.timestamp: f for f in frames}
        with sarvik.open_file(rec_path) as rec:
            self.assertGreaterEqual(len(rec), 1)
            self.assertEqual(rec.info["cameraId"], "PYCAM-7")
            matched = 0
            for f in rec:
                if f.timestamp in by_stamp:
                    np.testing.assert_array_equal(f.samples, by_stamp[f.timestamp].samples)
                    matched += 1
            self.assertGreater(matched, 0)
        with sarvik.open_file(snap_path) as snap:
            self.assertEqual(len(snap), 1)
            f = snap[0]
            self.assertEqual(f.celsius.shape, (H, W))
            self.assertGreater(int(f.bgra[..., :3].std()), 0)


if __name__ == "__main__":
    unittest.main()
