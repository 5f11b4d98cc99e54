"""velorin-scpid driven through PyVISA against the board emulator."""
import os
import signal
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from scpid_support import ServerTest, wait_for  # noqa: E402


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
                          '-224,"Illegal parameter value;locking needs the string ""YES"""',
                          '0,"No error"'])
        for _ in range(12):
            board.write("NOPE")
        self.assertEqual(board.query("SYST:ERR:COUN?"), "10")
        errors = [board.query("SYST:ERR:NEXT?") for _ in range(10)]
        self.assertEqual(errors[-1], '-350,"Queue overflow"')
        board.write("*CLS")
        self.assertEqual(board.query("*STB?;SYST:ERR?"), '0;0,"No error"')

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
        self.assertEqual(second.query("BLOC?;SYST:ERR:COUN?;PRESC?"), "B;0;3")
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

    def test_a_client_gone_mid_command_disturbs_no_one(self):
        other = self.open()
        quitter = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        quitter.sendall(b"EEPR:PROG;*IDN?;" + b"*OPC?;" * 2000 + b"\n")
        quitter.close()
        self.assertTrue(wait_for(lambda: (0x93, 0xA001, 0xA000, "completed") in self.requests()))
        self.assertEqual(other.query("EEPR:COUN?;*OPC?"), "1;1")


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
        self.assertEqual(board.query("SYST:ERR:COUN?;ODIV?"), "2;1")
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


if __name__ == "__main__":
    unittest.main()
