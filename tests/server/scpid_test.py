"""velorin-scpid driven through PyVISA against the board emulator."""
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from scpid_support import ServerTest, wait_for  # noqa: E402


def ram_writes(requests):
    return sum(1 for cmd, _, _, outcome in requests if cmd == 0xA2 and outcome == "completed")


def ram_write(block, image):
    stages = [(0xA0, byte, i, "completed") for i, byte in enumerate(image)]
    return stages + [(0xA2 + 0x10 * block, 0, 0, "completed")]


class SettingTest(ServerTest):
    def test_prescaler_change_is_the_main_views_requests(self):
        board = self.open()
        self.assertEqual(board.query("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0")
        board.write("CALibration OFF")
        before = len(self.requests())
        board.write("PRESC 2")
        self.assertEqual(board.query("*OPC?"), "1")
        self.assertEqual(self.requests()[before:],
                         ram_write(0, [0x06, 0x9E, 0x27, 0x7A, 0x00, 0x00]) +
                         [(0x96, 0, 1, "completed"), (0x97, 0x02, 1, "completed")])

    def test_image_round_trip_and_the_write_it_makes(self):
        board = self.open()
        self.assertEqual(board.query("IMAGe?"), "009E277A8000")
        before = len(self.requests())
        board.write("BLOC C;:IMAG 4A112233440F")
        self.assertEqual(board.query("IMAG?;PRESC?;ODIV?;OUTP:TYPE?"), "4A112233440F;3;2;LVPECL")
        self.assertEqual(self.requests()[before:],
                         ram_write(2, [0x4A, 0x11, 0x22, 0x33, 0x44, 0x0F]) +
                         [(0x96, 0, 1, "completed"), (0x97, 0x20, 1, "completed")])
        self.assertEqual(board.query("BLOC A;:IMAG?"), "009E277A8000")


class ErrorQueueTest(ServerTest):
    def test_errors_in_order_with_their_event_bits_then_overflow(self):
        board = self.open()
        board.write("PRESC 7;BOGUS;PRESC 2,3;EEPR:PROG:LOCK \"no\"")
        self.assertEqual(board.query("SYST:ERR:COUN?"), "4")
        self.assertEqual(board.query("*ESR?"), str(0x20 | 0x10))
        self.assertEqual([board.query("SYST:ERR?") for _ in range(5)],
                         ['-222,"Data out of range"', '-113,"Undefined header"',
                          '-108,"Parameter not allowed"',
                          '-203,"Command protected;the server does not allow EEPROM writes"',
                          '0,"No error"'])
        for _ in range(12):
            board.write("NOPE")
        self.assertEqual(board.query("SYST:ERR:COUN?"), "10")
        errors = [board.query("SYST:ERR:NEXT?") for _ in range(10)]
        self.assertEqual(errors[-1], '-350,"Queue overflow"')
        board.write("*CLS")
        self.assertEqual(board.query("*STB?;SYST:ERR?"), '0;0,"No error"')

    def test_eeprom_writes_are_refused_and_nothing_is_sent(self):
        board = self.open()
        before = len(self.requests())
        board.write('EEPR:PROG;PROG:LOCK "YES";:XTAL 30MHZ')
        self.assertEqual(board.query("SYST:ERR:COUN?"), "3")
        self.assertEqual(board.query("SYST:ERR?"),
                         '-203,"Command protected;the server does not allow EEPROM writes"')
        self.assertEqual(self.requests()[before:], [])

    def test_answers_past_one_mebibyte_are_dropped_and_the_client_stays(self):
        board = self.open()
        board.write(":PLAN:INP? 30MHZ;" * 3600 + "ODIV 2")
        self.assertEqual(board.query("SYST:ERR?;:ODIV?"),
                         '-223,"Too much data;the answers pass 1 MiB";1')

    def test_overlong_line_is_discarded_and_the_next_one_runs(self):
        board = self.open()
        board.write("IMAG " + "0" * (70 * 1024))
        self.assertEqual(board.query("SYST:ERR?"),
                         '-223,"Too much data;the line is longer than 64 KiB"')
        self.assertEqual(board.query("IMAG?"), "009E277A8000")


class ClientsTest(ServerTest):
    def test_two_clients_keep_their_own_block_and_queue(self):
        first, second = self.open(), self.open()
        first.write("BLOC C;PRESC 9")
        second.write("BLOC B;PRESC 3")
        self.assertEqual(first.query("BLOC?;SYST:ERR:COUN?"), "C;1")
        self.assertEqual(second.query("BLOC?;SYST:ERR:COUN?;:PRESC?"), "B;0;3")
        self.assertEqual(first.query("PRESC?"), "5")
        self.assertEqual(second.query("BLOC C;PRESC?"), "5")

    def test_a_ninth_connection_is_closed_at_once(self):
        clients = [self.open() for _ in range(8)]
        for i, client in enumerate(clients):
            self.assertEqual(client.query("*OPC?"), "1", i)
        ninth = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        self.assertEqual(ninth.recv(16), b"")
        ninth.close()
        clients[0].close()
        self.resources.remove(clients[0])

        # The server learns of the close on its next turn: until then a newcomer is still the
        # ninth and is turned away.
        def newcomer_served():
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=5) as s:
                    s.sendall(b"BLOC?\n")
                    return s.recv(16) == b"A\n"
            except OSError:
                return False

        self.assertTrue(wait_for(newcomer_served))

    def test_a_client_gone_mid_line_has_the_rest_of_it_dropped(self):
        other = self.open()
        quitter = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        # Sixty calibrated chip writes: about three seconds of work.
        quitter.sendall(b"ODIV 2;ODIV 1;" * 30 + b"\n")
        self.assertTrue(wait_for(lambda: ram_writes(self.requests()) > 0))
        quitter.close()
        self.assertEqual(other.query("*OPC?"), "1")
        after_close = ram_writes(self.requests())
        time.sleep(0.5)
        self.assertLessEqual(ram_writes(self.requests()), after_close + 2)
        self.assertLess(ram_writes(self.requests()), 60)

    def test_one_clients_long_line_does_not_hold_up_another(self):
        first, second = self.open(timeout_ms=20000), self.open()
        first.write("ODIV 2;ODIV 1;" * 20 + "*OPC?")
        self.assertTrue(wait_for(lambda: ram_writes(self.requests()) > 0))
        self.assertEqual(second.query("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0")
        # The first client's line is still running when the second one has its answer.
        self.assertLess(ram_writes(self.requests()), 80)
        self.assertEqual(first.read(), "1")
        self.assertEqual(ram_writes(self.requests()), 80)

    def test_a_departed_probe_never_costs_a_client_its_slot(self):
        clients = [self.open() for _ in range(7)]
        for client in clients:
            self.assertEqual(client.query("*OPC?"), "1")
        for _ in range(5):
            probe = socket.create_connection(("127.0.0.1", self.port), timeout=5)
            probe.close()
        self.assertEqual(self.open().query("BLOC?"), "A")


class AllowTest(ServerTest):
    server_args = ["--allow", "127.0.0.2/32", "--idle-timeout", "1"]

    def test_only_allowed_networks_are_served_and_silent_clients_closed(self):
        allowed = socket.create_connection(("127.0.0.1", self.port), timeout=5,
                                           source_address=("127.0.0.2", 0))
        allowed.sendall(b"BLOC?\n")
        self.assertEqual(allowed.recv(16), b"A\n")
        other = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        try:
            other.sendall(b"BLOC?\n")
            self.assertEqual(other.recv(16), b"")
        except ConnectionResetError:
            pass  # closed before the line arrived
        other.close()
        # Nothing heard for a second: the server closes the allowed client too.
        self.assertEqual(allowed.recv(16), b"")
        allowed.close()
        self.assertNotIn("warning", self.output())


class ResetAndStatusTest(ServerTest):
    sim_args = ["--supply-fault", "C"]
    server_args = ["--allow-eeprom-writes"]

    def test_reset_writes_every_chip(self):
        board = self.open()
        board.write("BLOC B;ODIV 4;:XTAL 30MHZ")
        before = len(self.requests())
        self.assertEqual(board.query("*RST;BLOC?;ODIV?"), "A;1")
        written = {cmd for cmd, _, _, _ in self.requests()[before:]}
        self.assertTrue({0xA2, 0xB2, 0xC2, 0xD2} <= written, written)
        self.assertEqual(board.query("XTAL?;SYST:ERR:COUN?"), "3.0000000E+07;0")

    def test_faulty_supply_sets_questionable_voltage(self):
        board = self.open()
        self.assertEqual(board.query("STAT:QUES:COND?"), "1")
        board.write("STAT:QUES:ENAB 1")
        self.assertEqual(int(board.query("*STB?")) & 0x08, 0x08)
        self.assertEqual(board.query("STAT:QUES?;:STAT:QUES?"), "1;0")

    def test_json_answers_decode_as_ascii(self):
        board = self.open()  # PyVISA's default encoding is ASCII
        board.write("EEPR:PROG")  # the read-back reads the EEPROM: 224 uA from now on
        readback = json.loads(board.query("READ?"))
        self.assertEqual(len(readback), 30)
        self.assertIn("\u00b5", json.dumps(readback, ensure_ascii=False))


class VanishingBoardTest(ServerTest):
    def test_unplugged_board_is_missing_until_plugged_in_again(self):
        board = self.open()
        self.assertEqual(board.query("*TST?"), "0")
        self.sim.send_signal(signal.SIGUSR1)  # unplug
        self.assertTrue(wait_for(lambda: not os.path.exists(
            os.path.join(self.device_dir, "board0"))))
        board.write("PRESC 2")
        self.assertTrue(board.query("SYST:ERR?").startswith("-240,\"Hardware error;"))
        board.write("PRESC 3")
        self.assertEqual(board.query("SYST:ERR?"), '-241,"Hardware missing"')
        self.assertEqual(board.query("*IDN?;*TST?;PRESC?"),
                         "Norvale Devices,MXRG817A EVAL,NONE,1.0.0;1;5")
        self.sim.send_signal(signal.SIGUSR1)  # plug in again
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.device_dir, "board0"))))
        self.assertEqual(board.query("PRESC 3;PRESC?;SYST:ERR:COUN?"), "3;0")
        self.assertEqual(board.query("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0")

    def test_emulator_killed_mid_session(self):
        board = self.open()
        self.sim.kill()
        self.sim.wait()
        board.write("ODIV 4")
        board.write("ODIV 8")
        self.assertEqual(board.query("SYST:ERR:COUN?;:ODIV?"), "2;1")
        self.sim = self._restart_sim()
        self.assertEqual(board.query("ODIV 8;ODIV?"), "8")

    def _restart_sim(self):
        import subprocess
        sim = subprocess.Popen([os.path.join(os.environ["VELORIN_BIN_DIR"], "velorin-boardsim"),
                                "--device-dir", self.device_dir],
                               stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        # The killed emulator's socket file is still there until the new one replaces it.
        def serving():
            probe = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            try:
                probe.connect(os.path.join(self.device_dir, "board0"))
                return True
            except OSError:
                return False
            finally:
                probe.close()
        self.assertTrue(wait_for(serving))
        return sim


class ExposedListenTest(unittest.TestCase):
    """Listening beyond loopback without --allow warns; run in a network namespace of the
    test's own, so nothing listens on this machine's interfaces."""

    def test_warns_without_allow_and_not_with_it(self):
        if os.geteuid() != 0 or shutil.which("unshare") is None:
            self.skipTest("needs root and unshare for a private network namespace")
        scpid = os.path.join(os.environ["VELORIN_BIN_DIR"], "velorin-scpid")
        with tempfile.TemporaryDirectory() as empty:
            for extra, warned in (([], True), (["--allow", "10.0.0.0/8"], False)):
                command = " ".join([scpid, "--listen", "0.0.0.0:0", "--device-dir", empty] + extra)
                script = f"{command} 2>&1 & sleep 1; kill $!; wait $!"
                run = subprocess.run(["unshare", "--net", "sh", "-c", script],
                                     capture_output=True, text=True, timeout=30)
                if "unshare failed" in run.stderr:
                    self.skipTest(run.stderr.strip())
                self.assertIn("listening on 0.0.0.0:", run.stdout)
                self.assertEqual("--allow CIDR" in run.stdout, warned, run.stdout)
                # The library's open failure ends its line before the server's own lines.
                self.assertIn("\nvelorin-scpid: listening on", "\n" + run.stdout)


if __name__ == "__main__":
    unittest.main()
