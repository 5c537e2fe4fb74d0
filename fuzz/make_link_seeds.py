#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz_exchange and fuzz_connection_test (line scripts as
LineScript.h reads them) into corpus/. Run again after changing the script format."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
EMPTY, FAIL, END = b"\xfe\x00", b"\xfe\x01", b"\xfe\x02"


def frame(command, data=b""):
    body = bytes([command, len(data) + 2]) + data
    return body + bytes([~sum(body) & 0xFF])


def escape(raw):
    return raw.replace(b"\xfe", b"\xfe\xfe")


def exchange_header(command, length, area):
    return bytes([command, length, area & 0xFF, area >> 8])


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def exchange_seeds():
    one = lambda length, area, script: bytes([0]) + exchange_header(0xF3, length, area) + script
    code = frame(0xF3, b"ABCDEFGH")
    write("fuzz_exchange", "engine-code", one(2, 128, escape(code)))
    bad = code[:-1] + bytes([(code[-1] + 1) & 0xFF])
    write("fuzz_exchange", "checksum-off-by-one", one(2, 128, escape(bad)))
    write("fuzz_exchange", "length-0", one(2, 128, b"\xff\x00"))
    write("fuzz_exchange", "length-1", one(2, 128, b"\xfe\xfe\x01"))
    write("fuzz_exchange", "length-2", one(2, 128, escape(frame(0xAD))))
    write("fuzz_exchange", "253-data-bytes", one(2, 128, escape(frame(0xF3, b"#" * 253))))
    spread = code[:2] + EMPTY + code[2:5] + EMPTY + EMPTY + code[5:9] + EMPTY + code[9:]
    write("fuzz_exchange", "four-empty-reads", one(2, 128, spread))
    write("fuzz_exchange", "fifth-empty-read", one(2, 128, spread[:-1] + EMPTY + code[-1:]))
    write("fuzz_exchange", "read-fails", one(2, 128, code[:4] + FAIL))
    write("fuzz_exchange", "request-with-data", one(6, 2, escape(frame(0x10, b"\x01\x02"))))
    four = bytes([3]) + b"".join(exchange_header(c, 2, 8) for c in (0xF3, 0xF5, 0x6B, 0x6C))
    parts = [frame(0xF3, b"E7TX0421") + b"\x00\x00", b"", frame(0xF3, b"late"),
             frame(0x6C, b"V1.07")]
    write("fuzz_exchange", "leftovers-and-silence", four + END.join(escape(p) for p in parts))


def connection_test_seeds():
    def test(*answers):
        return END.join(escape(a) for a in answers)

    answers = [frame(0xF3, b"E7TX0421"), frame(0xF5, b"V3.02"), frame(0xAD, b" " * 8),
               frame(0x6B, b"E4LG0193"), frame(0x6C, b"V1.07")]
    write("fuzz_connection_test", "all-five", test(*answers))
    write("fuzz_connection_test", "protected",
          test(answers[0], answers[1], frame(0xAD, b" " * 8 + b"\x01"), b"", b""))
    write("fuzz_connection_test", "legacy-only", test(b"", b"", b"", answers[3], answers[4]))
    write("fuzz_connection_test", "silent", b"")
    write("fuzz_connection_test", "long-engine-code",
          test(frame(0xF3, b"ABCDEFGHIJ" + b"#" * 243), answers[1], answers[2]))
    write("fuzz_connection_test", "zero-in-text",
          test(frame(0xF3, b"ABC\x00EFGH"), frame(0xF5, b"\x00")))
    write("fuzz_connection_test", "noise-before-protection",
          test(answers[0], answers[1], b"\x00\xff" + answers[2], answers[3]))
    write("fuzz_connection_test", "bad-checksum-and-failure",
          test(answers[0][:-1] + b"\x00", answers[1][:3] + FAIL, answers[2]))


if __name__ == "__main__":
    exchange_seeds()
    connection_test_seeds()
