"""sarvik.discover() inside a private network namespace made for the test (unshare -n, a veth pair on
10.77.0.0/24): its broadcasts never leave the namespace. Skips when no namespace can be made."""

import json
import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))

SETUP = r"""
set -e
# A fresh namespace holds nothing but lo: anything more and this is not ours to broadcast on.
[ "$(ip -o link show | wc -l)" = 1 ] || { echo "namespace not empty" >&2; exit 97; }
ip link set lo up
ip link add v0 type veth peer name v1
ip addr add 10.77.0.1/24 dev v0
ip link set v1 up
ip link set v0 up
ip route add default dev v0
exec /usr/bin/python3 -c "$CHILD"
"""

CHILD = r"""
import json, sys
sys.path.insert(0, %r)
import sarvik
from vcam import Vcam
cams = [Vcam("127.0.0.114", "--discovery", "--camera-id", "PY-DISC-A", "--name", "north", lifetime=30),
        Vcam("127.0.0.115", "--discovery", "--camera-id", "PY-DISC-B", "--size", "384x288", lifetime=30)]
try:
    print("RESULT " + json.dumps(sarvik.discover()))
finally:
    for c in cams:
        c.stop()
""" % HERE


class Discovery(unittest.TestCase):
    def test_discover_lists_each_camera_once_as_a_dict(self):
        env = dict(os.environ, CHILD=CHILD)
        try:
            run = subprocess.run(["unshare", "-n", "/bin/sh", "-c", SETUP], env=env, capture_output=True,
                                 text=True, timeout=60)
        except FileNotFoundError:
            self.skipTest("no unshare tool to make a network namespace")
        results = [l for l in run.stdout.splitlines() if l.startswith("RESULT ")]
        if not results:
            if run.returncode != 0 and ("unshare" in run.stderr or "Operation not permitted" in run.stderr
                                        or "namespace not empty" in run.stderr):
                self.skipTest("no private network namespace: " + run.stderr.strip().splitlines()[-1])
            self.fail("discovery child failed (%d): %s" % (run.returncode, run.stderr))
        found = json.loads(results[0][len("RESULT "):])
        by_id = {c["cameraId"]: c for c in found}
        self.assertEqual(sorted(by_id), ["PY-DISC-A", "PY-DISC-B"])
        # (camera, field, expected)
        cases = [("PY-DISC-A", "ip", "127.0.0.114"), ("PY-DISC-A", "cameraName", "north"),
                 ("PY-DISC-A", "dataWidth", 640), ("PY-DISC-B", "ip", "127.0.0.115"),
                 ("PY-DISC-B", "dataWidth", 384), ("PY-DISC-B", "dataHeight", 288)]
        for cam, field, expected in cases:
            with self.subTest(cam=cam, field=field):
                self.assertEqual(by_id[cam][field], expected)


if __name__ == "__main__":
    unittest.main()
