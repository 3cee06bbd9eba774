"""Recorded files through the sarvik package and through the NumPy reader of docs/file-formats.md."""

import os
import re
import sys
import tempfile
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(__file__))
import sarvik  # noqa: E402
from vcam import Vcam  # noqa: E402

IP = "127.0.0.112"
W, H = 96, 64


def doc_reader():
    """The reader as printed in the document: its one python block, executed as it is."""
    docs = os.environ.get("SARVIK_DOCS", os.path.join(os.path.dirname(__file__), "..", "..", "docs"))
    with open(os.path.join(docs, "file-formats.md")) as f:
        blocks = re.findall(r"```python\n(.*?)```", f.read(), re.S)
    assert len(blocks) == 1, "one python block expected"
    code = blocks[0]
    assert len(code.strip().splitlines()) <= 20, "the reader is meant to stay short"
    scope = {}
    exec(code, scope)
    return scope["stream_celsius"]


def setUpModule():
    global TMP, STREAM, FRAMES
    TMP = tempfile.TemporaryDirectory()
    STREAM = os.path.join(TMP.name, "rec.stream")
    cam = Vcam(IP, "--size", "%dx%d" % (W, H), "--slope", "30", "--offset", "5")
    try:
        with sarvik.Camera(IP) as c, c.frames(count=8, timeout=5, record=STREAM) as live:
            FRAMES = list(live)
    finally:
        cam.stop()


def tearDownModule():
    TMP.cleanup()


def cut(path, keep):
    out = path + ".cut%d" % keep
    with open(path, "rb") as f, open(out, "wb") as g:
        g.write(f.read(keep))
    return out


class Files(unittest.TestCase):
    def test_document_reader_matches_playback(self):
        n = W * H
        prefix, frame = 4 * n + 1216, 2 * n + 128
        size = os.path.getsize(STREAM)
        # (file, whole frames it holds): the recording, and the same cut inside its third frame.
        cases = [(STREAM, (size - prefix) // frame), (cut(STREAM, prefix + 2 * frame + 100), 2)]
        read = doc_reader()
        for path, count in cases:
            with self.subTest(path=os.path.basename(path)):
                mine = list(read(path))
                self.assertEqual(len(mine), count)
                with sarvik.open_file(path) as pb:
                    self.assertEqual(len(pb), count)
                    for (stamp, celsius), f in zip(mine, pb):
                        self.assertEqual(stamp, f.timestamp)
                        self.assertEqual(celsius.dtype, np.float32)
                        np.testing.assert_array_equal(celsius, f.celsius)
                        # The camera's scale: slope 30, offset 5.
                        np.testing.assert_allclose(celsius, f.samples / 30.0 + 5, atol=1e-4)

    def test_foreign_and_broken_files_are_refused(self):
        text = os.path.join(TMP.name, "notes.stream")
        with open(text, "w") as f:
            f.write("not a recording\n" * 10)
        header_only = cut(STREAM, 4 * W * H + 1216)
        cases = [(text, ValueError), (header_only, sarvik.SarvikError),
                 (os.path.join(TMP.name, "missing.stream"), FileNotFoundError)]
        for path, error in cases:
            with self.subTest(path=os.path.basename(path)):
                with self.assertRaises(error):
                    sarvik.open_file(path)

    def test_palette_changes_the_rendering_only(self):
        names = sarvik.palettes()
        self.assertIn("IronBow", names)
        with sarvik.open_file(STREAM, palette=names.index("WhiteHot")) as a, sarvik.open_file(STREAM) as b:
            fa, fb = a[0], b[0]
            np.testing.assert_array_equal(fa.samples, fb.samples)
            self.assertFalse(np.array_equal(fa.bgra, fb.bgra))
            # WhiteHot is a gray scale: blue, green and red agree.
            self.assertTrue(np.array_equal(fa.bgra[..., 0], fa.bgra[..., 2]))


if __name__ == "__main__":
    unittest.main()
