"""A virtual camera process for the Python tests: started with --lifetime, waited for (bounded), stopped."""

import os
import socket
import subprocess
import time


class Vcam:
    def __init__(self, ip, *args, lifetime=90, netns_cmd=None):
        exe = os.environ.get("SARVIK_VCAM", "build/bin/sarvik-vcam")
        self.ip = ip
        self.proc = subprocess.Popen([exe, "--ip", ip, "--lifetime", str(lifetime), *args],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("sarvik-vcam exited with %s" % self.proc.returncode)
            try:
                with socket.create_connection((ip, 55502), timeout=0.5):
                    return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise RuntimeError("sarvik-vcam on %s did not listen within 10 s" % ip)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
