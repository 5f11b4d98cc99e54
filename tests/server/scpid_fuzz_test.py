"""Random and mutated lines from several clients at once: the server stays up and every client
gets its answers. Bounded in lines and time, on 127.0.0.1 only."""
import os
import random
import select
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from scpid_support import ServerTest  # noqa: E402

SEED = 18
CLIENTS = 4
LINES_PER_CLIENT = 300
TIME_LIMIT_S = 120

VALID = [
    "*IDN?", "*RST", "*CLS", "*ESE 60", "*ESE?", "*ESR?", "*OPC", "*OPC?", "*SRE 32", "*STB?",
    "*WAI", "*TST?", "SYST:ERR?", "SYST:ERR:COUN?", "SYST:VERS?", "BLOC B", "BLOC?", "BLOC D",
    "PRESC 2", "PRESC MAX", "PRESC?", "PRESC? MIN", "ODIV 16", "ODIV?", "ODIV? MAX", "VCO 2",
    "VCO?", "CPUM 168UA", "CPUM 0.112 MA", "CPUM?", "OUTP:TYPE LVPECL",
    "OUTP:TYPE?;TERM ON;STAT OFF", "OUTP?", "POW ON", "POW?", "CAL OFF", "CAL?",
    "IMAG 009E277A8000", "IMAG?", "FREQ:INP 30MHZ", "FREQ:INP 3.125E7", "FREQ:INP DEF",
    "FREQ:INP?;OUTP?;VCO?", "PLAN:INP? 31.25 MHZ", "PLAN:OUTP? 156.25MHZ", "PLAN:APPL 100E6",
    "LFIL 200KHZ,60", "LFIL?", "LFIL? MAX", "LFIL:WORD?", "READ?", "STAT:BOAR?", "EEPR:COUN?",
    "XTAL 30.5MHZ", "XTAL?", ":SYST:ERR:NEXT?;:BLOC A", "OUTP:TYPE 'LVDS'",
    "EEPR:PROG:LOCK \"YES\"", "STAT:QUES?", "STAT:QUES:COND?", "STAT:QUES:ENAB 545",
    "STAT:OPER:ENAB?", "STAT:OPER?;COND?", "STAT:PRES", "FREQ:INP 30KHZ", "CPUM 5HZ",
]
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz0123456789:;,?*\"'#.+-_ \t\rEeHZUAMK"


def mutate(rng, line):
    chars = list(line)
    for _ in range(rng.randint(1, 4)):
        op = rng.randrange(4)
        pos = rng.randrange(len(chars) + 1)
        if op == 0 and chars:
            del chars[min(pos, len(chars) - 1)]
        elif op == 1:
            chars.insert(pos, rng.choice(ALPHABET))
        elif op == 2 and chars:
            chars[min(pos, len(chars) - 1)] = chr(rng.randrange(1, 256))
        else:
            chars.insert(pos, rng.choice([";", ":", "?", ",", "\"", "'", " MIN", " DEF", "MHZ",
                                          " UA", "E+6", "STAT:"]))
    return "".join(chars)


def random_line(rng):
    kind = rng.randrange(10)
    if kind < 3:
        return rng.choice(VALID)
    if kind < 7:
        return mutate(rng, rng.choice(VALID))
    if kind < 9:
        return "".join(chr(rng.randrange(1, 256)) for _ in range(rng.randint(0, 80))
                       ).replace("\n", " ")
    return "X" * rng.choice([100, 70000])


class FuzzTest(ServerTest):
    def test_random_and_mutated_lines_leave_every_client_answered(self):
        rng = random.Random(SEED)
        clients = [socket.create_connection(("127.0.0.1", self.port), timeout=10)
                   for _ in range(CLIENTS)]
        received = [bytearray() for _ in clients]

        def drain(wait=0.0):
            readable, _, _ = select.select(clients, [], [], wait)
            for sock in readable:
                chunk = sock.recv(1 << 16)
                self.assertTrue(chunk, "the server closed a client")
                received[clients.index(sock)] += chunk

        start = time.monotonic()
        sent = 0
        for _ in range(LINES_PER_CLIENT):
            if time.monotonic() - start > TIME_LIMIT_S:
                break
            for sock in clients:
                line = random_line(rng).encode("latin-1")
                sock.sendall(line + b"\n")
                sent += 1
            drain()
        self.assertGreater(sent, CLIENTS * 10)

        # A sentinel per client: the server must still answer each of them.
        for sock in clients:
            sock.sendall(b"\n*CLS;:SYST:VERS?;*IDN?\n")
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and not all(
                b"1999.0;Norvale Devices,MXRG817A EVAL," in r for r in received):
            drain(0.2)
        for i, r in enumerate(received):
            self.assertIn(b"1999.0;Norvale Devices,MXRG817A EVAL,", r, f"client {i}")
        for sock in clients:
            sock.close()
        self.assertIsNone(self.server.poll(), self.output())


if __name__ == "__main__":
    unittest.main()
