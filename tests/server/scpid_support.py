"""An emulated board and velorin-scpid on 127.0.0.1, started for one test and stopped after it."""
import os
import re
import signal
import subprocess
import tempfile
import time
import unittest

import pyvisa

BIN = os.environ["VELORIN_BIN_DIR"]
LINE = re.compile(r"#(\d+) command=([0-9A-F]{2}) value=([0-9A-F]{4}) index=([0-9A-F]{4}) "
                  r"answer=(\d) (\w+)")


def wait_for(predicate, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.02)
    return False


class ServerTest(unittest.TestCase):
    board_kind = "four-block"
    sim_args = []     # more options for velorin-boardsim
    server_args = []  # more options for velorin-scpid

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="velorin-scpid-test-")
        root = self.dir.name
        self.log_path = os.path.join(root, "requests.log")
        self.device_dir = os.path.join(root, "dev")
        self.sim = subprocess.Popen(
            [os.path.join(BIN, "velorin-boardsim"), "--device-dir", self.device_dir,
             "--board", self.board_kind, "--log", self.log_path] + self.sim_args,
            stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.device_dir, "board0"))))
        self.server_out = open(os.path.join(root, "scpid.out"), "w+")
        self.server = subprocess.Popen(
            [os.path.join(BIN, "velorin-scpid"), "--listen", "127.0.0.1:0",
             "--device-dir", self.device_dir] + self.server_args,
            stdout=self.server_out, stderr=subprocess.STDOUT, text=True)
        self.port = None

        def listening():
            self.server_out.seek(0)
            found = re.search(r"listening on 127\.0\.0\.1:(\d+)", self.server_out.read())
            if found:
                self.port = int(found.group(1))
            return self.port is not None or self.server.poll() is not None
        self.assertTrue(wait_for(listening))
        self.assertIsNotNone(self.port, self.output())
        self.rm = pyvisa.ResourceManager("@py")
        self.resources = []

    def tearDown(self):
        for resource in self.resources:
            try:
                resource.close()
            except Exception:  # a resource the server closed
                pass
        self.rm.close()
        alive = self.server.poll() is None
        self.server.send_signal(signal.SIGTERM)
        code = self.server.wait(timeout=10)
        self.sim.send_signal(signal.SIGTERM)
        self.sim.wait(timeout=10)
        self.server_out.close()
        with open(os.path.join(self.dir.name, "scpid.out")) as out:
            output = out.read()
        self.dir.cleanup()
        self.assertTrue(alive, output)
        self.assertEqual(code, 0, output)
        self.assertIn("velorin-scpid: stopped", output)

    def output(self):
        self.server_out.seek(0)
        return self.server_out.read()

    def open(self, timeout_ms=5000, **options):
        board = self.rm.open_resource(f"TCPIP0::127.0.0.1::{self.port}::SOCKET",
                                      read_termination="\n", write_termination="\n",
                                      timeout=timeout_ms, **options)
        self.resources.append(board)
        return board

    def requests(self):
        """The board requests logged so far: (command, value, index, outcome)."""
        entries = []
        with open(self.log_path) as log:
            for line in log:
                m = LINE.search(line)
                if m:
                    entries.append((int(m.group(2), 16), int(m.group(3), 16),
                                    int(m.group(4), 16), m.group(6)))
        return entries
