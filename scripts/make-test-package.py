#!/usr/bin/env python3
"""Writes a firmware package the printer would take, of any size, with a made-up payload.

    make-test-package.py --payload-bytes L --seed S OUTPUT
    make-test-package.py --payload-bytes L --seed S --break FIELD OUTPUT   # a deliberately bad one

The package is one print job: UEL, the ACL language line, the 16-byte firmware frame (prefix
0x00AC, command 0x000F, 0x0207, 0x00000001, L big-endian, 0xFF0A), L payload bytes and a closing
UEL, L + 59 bytes in all. The payload is a keyed SHAKE-256 stream in 1 MiB pieces: every byte
depends on the seed and its offset, so a byte sent twice, dropped or sent out of place changes
the printer's digest, and two seeds give two packages a test can tell apart. Memory stays at one
piece whatever L is, so the 190 MB benchmark package costs no more than a small one.
"""

import argparse
import hashlib
import os
import struct
import sys

UEL = b"\x1b%-12345X"
LANGUAGE_LINE = b"@PJL ENTER LANGUAGE=ACL\r\n"
ACL_PREFIX = 0x00AC
ACLCMD_FW_UPDATE = 0x000F
# The frame's remaining fields as the shipped package carries them; the printer reads them, the
# tool does not.
FRAME_WORD_4 = 0x0207
FRAME_DWORD_6 = 0x00000001
FRAME_WORD_14 = 0xFF0A

MAX_PAYLOAD_BYTES = 0xFFFFFFFF - 59  # the frame's length field and a 32-bit resource size
PIECE_BYTES = 1 << 20

# Ways to spoil a package, so the checker can be shown to refuse each of them.
BREAKS = ("uel-start", "language", "prefix", "command", "length", "uel-end", "truncated")


def frame(payload_bytes, prefix=ACL_PREFIX, command=ACLCMD_FW_UPDATE):
    return struct.pack(">HHHIIH", prefix, command, FRAME_WORD_4, FRAME_DWORD_6, payload_bytes,
                       FRAME_WORD_14)


def payload_pieces(payload_bytes, seed):
    key = seed.to_bytes(8, "big")
    offset = 0
    index = 0
    while offset < payload_bytes:
        size = min(PIECE_BYTES, payload_bytes - offset)
        yield hashlib.shake_256(key + index.to_bytes(8, "big")).digest(size)
        offset += size
        index += 1


def write_package(path, payload_bytes, seed, broken=None):
    head_uel = b"\x1b%-12345Y" if broken == "uel-start" else UEL
    language = LANGUAGE_LINE.replace(b"ACL", b"PCL") if broken == "language" else LANGUAGE_LINE
    prefix = 0x00AD if broken == "prefix" else ACL_PREFIX
    command = 0xFF87 if broken == "command" else ACLCMD_FW_UPDATE
    announced = payload_bytes + 1 if broken == "length" else payload_bytes
    tail_uel = UEL[:-1] + b"Y" if broken == "uel-end" else UEL
    if broken == "truncated":
        tail_uel = UEL[:4]

    # Written beside the target and renamed, so an interrupted build never leaves a package that
    # looks finished.
    temporary = path + ".part"
    with open(temporary, "wb") as out:
        out.write(head_uel + language + frame(announced, prefix, command))
        for piece in payload_pieces(payload_bytes, seed):
            out.write(piece)
        out.write(tail_uel)
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--payload-bytes", type=int, required=True,
                        help="L, the payload length; the package is L + 59 bytes")
    parser.add_argument("--seed", type=int, default=0, help="selects the payload (0 .. 2^64-1)")
    parser.add_argument("--break", dest="broken", choices=BREAKS,
                        help="spoil one part of the layout")
    parser.add_argument("output")
    args = parser.parse_args()

    if not 0 <= args.payload_bytes <= MAX_PAYLOAD_BYTES:
        sys.exit(f"make-test-package: --payload-bytes must be 0 .. {MAX_PAYLOAD_BYTES}")
    if not 0 <= args.seed < 1 << 64:
        sys.exit("make-test-package: --seed must be 0 .. 2^64-1")
    write_package(args.output, args.payload_bytes, args.seed, args.broken)


if __name__ == "__main__":
    main()
