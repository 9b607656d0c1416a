#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/.

Each seed is a short, meaningful run, so the fuzzer starts from inputs that
reach deep into the code: a whole connect, fetch and stylus session for the
link, a well-formed results text, the date texts of every form. Run it from
this folder after a deliberate change of an input layout:
    python3 make_corpus.py
"""
import os
import struct


def write(target, name, data):
    folder = os.path.join("corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- link replies: ports, serial-layer refusals, rate, then commands --------
# A command is its number (see runCommand); every frame it writes is answered
# by a choice (see FuzzedPort::Answer) and the bytes that choice reads.
CONNECT, DISCONNECT, START, READ_CONDITIONS, SET_UNIT, READ_RESULTS = 0, 1, 2, 5, 8, 10
ENTER_STYLUS, READ_STYLUS, EXIT_STYLUS, FETCH, ARRIVE = 11, 12, 13, 14, 16
NOTHING, RAW, OWN, CODE, ERROR, PACKET, DAMAGED, VANISH, FINISHED_FIRST = range(9)


def ack():
    return bytes([CODE, ord("a"), 0])


def own(payload):
    return bytes([OWN, len(payload)]) + payload


def results_text(values):
    return b"".join(("R9x =" + v.rjust(8)).encode() for v in values)


RESULTS = results_text(["1.1", "1.4", "8", "7", "9", "9", "11", "5", "6", "0.02", "0.08", "-0.2"])


def packet(k):
    data = bytes((i * 7 + k * 13) & 0xFF if i % 2 == 0 else 0 for i in range(200))
    return bytes([OWN]) + data


def fetch(lengths, damaged_packet=None, vanish_at=None):
    out = bytes([FETCH]) + own(bytes([2, lengths, 0, 3, 2, 0])) + own(bytes([3, 2])) + own(RESULTS)
    for k in range(1, (lengths + 2) * 5 + 1):
        if k == vanish_at:
            return out + bytes([VANISH])
        if k == damaged_packet:
            out += bytes([DAMAGED]) + bytes(200) + bytes([100, 0x40])
        out += packet(k)
    return out


def session(present, *commands):
    return bytes([present, 0, 0]) + b"".join(commands)


connect = bytes([CONNECT]) + ack()
write("link_replies_fuzz", "fetch_one_length", session(0x04, connect, fetch(0)))
write("link_replies_fuzz", "fetch_damaged_packet", session(0x01, connect, fetch(1, damaged_packet=3)))
write("link_replies_fuzz", "vanish_during_download", session(0x01, connect, fetch(0, vanish_at=4)))
write("link_replies_fuzz", "unit_and_stylus",
      session(0x01, connect, bytes([SET_UNIT, 1]) + ack(),
              bytes([ENTER_STYLUS]) + ack(), bytes([READ_STYLUS]) + own(bytes([0x00, 0xF8])),
              bytes([EXIT_STYLUS]) + ack(), bytes([DISCONNECT]) + ack()))
write("link_replies_fuzz", "error_and_finished",
      session(0x02, connect, bytes([START, ERROR, 4]),
              bytes([ARRIVE, 0]) + fetch(0)[1:],
              bytes([READ_RESULTS, FINISHED_FIRST, len(RESULTS)]) + RESULTS))

# --- results text: settings byte, then the reply bytes after "STX U p" -------
payload = bytes([len(RESULTS)]) + RESULTS
write("results_text_fuzz", "metric_iso", bytes([0x08]) + payload)
write("results_text_fuzz", "imperial_ansi", bytes([0x07]) + bytes([len(RESULTS)]) +
      results_text(["60", "1e+3", "-0", "7", "9.99e307", "9", "11", "5", "6", "0.02", "0.08", "-0.2"]))
write("results_text_fuzz", "bad_field", bytes([0x01]) + bytes([len(RESULTS)]) +
      results_text(["1.1", "1.4", "8", "7", "x9", "9", "11", "5", "6", "0.02", "0.08", "-0.2"]))

# --- date text: locale, any day count (8 bytes), then the text ----------------
for i, (locale, text) in enumerate([(0, "2023-11-5 8:04:09"), (0, "2024/02/29"), (0, "1899-12-30 0:00"),
                                    (1, "2024/3/5 14:07:09"), (2, "05.03.24 14:07:09"),
                                    (3, "3/5/24 2:07:09 PM"), (0, " 9999-12-31 23:59:59 ")]):
    write("date_text_fuzz", "text%d" % i, bytes([locale]) + struct.pack("<d", 45000.25 + i) + text.encode())

# --- record loader: the smallest record, no raw bytes --------------------------
record = bytearray([1, 0])
date = b"2023-11-5 8:04:09"
record += bytes([len(date)]) + date + bytes(21 - 1 - len(date))
record += bytes(10) + bytes([2, 4, 0, 2, 2, 0, 2, 2]) + bytes(20)
record += b"".join(struct.pack("<d", v) for v in [1.1, 1.4, 8, 7, 9, 9, 11, 5, 6, 0.02, 0.08, -0.2])
record += bytes(400) + struct.pack("<i", 0)
assert len(record) == 561
write("record_loader_fuzz", "empty_profile", bytes(record))
