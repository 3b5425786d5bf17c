#!/usr/bin/env python3
"""Checks the outer layout of firmware packages before the build embeds them.

    check-package.py [--stamp FILE] PACKAGE...   # exit 1 with one line per bad package
    check-package.py --self-test                 # the check against every spoilt layout

A package must be UEL, "@PJL ENTER LANGUAGE=ACL\\r\\n", a frame with prefix 0x00AC and command
0x000F whose length field L makes the file exactly L + 59 bytes, L payload bytes and a closing
UEL. Only the first 50 and the last 9 bytes are read, so a 190 MB package is checked at once.
The tool itself sends whatever it carries byte for byte; this check is what keeps a wrong file
(a truncated download, a package for another printer family) out of the executable.
"""

import argparse
import os
import pathlib
import runpy
import struct
import sys
import tempfile

UEL = b"\x1b%-12345X"
LANGUAGE_LINE = b"@PJL ENTER LANGUAGE=ACL\r\n"
ACL_PREFIX = 0x00AC
ACLCMD_FW_UPDATE = 0x000F
FRAME_OFFSET = len(UEL) + len(LANGUAGE_LINE)  # 34
PAYLOAD_OFFSET = FRAME_OFFSET + 16  # 50
OVERHEAD = PAYLOAD_OFFSET + len(UEL)  # 59
# Resource sizes are 32-bit on Windows.
MAX_PACKAGE_BYTES = 0xFFFFFFFF


def layout_error(path):
    """None when the package at `path` is well formed, otherwise why it is not."""
    try:
        size = os.path.getsize(path)
        with open(path, "rb") as package:
            head = package.read(PAYLOAD_OFFSET)
            if size >= OVERHEAD:
                package.seek(size - len(UEL))
                tail = package.read(len(UEL))
    except OSError as error:
        return f"cannot be read ({error.strerror})"

    if size < OVERHEAD:
        return f"is {size} bytes, shorter than the {OVERHEAD} bytes of an empty package"
    if size > MAX_PACKAGE_BYTES:
        return f"is {size} bytes, more than a 32-bit resource can hold"
    if head[:len(UEL)] != UEL:
        return "does not begin with the UEL (ESC %-12345X)"
    if head[len(UEL):FRAME_OFFSET] != LANGUAGE_LINE:
        return "has no '@PJL ENTER LANGUAGE=ACL' line after the opening UEL"
    prefix, command = struct.unpack_from(">HH", head, FRAME_OFFSET)
    if prefix != ACL_PREFIX:
        return f"has frame prefix 0x{prefix:04X}, not 0x{ACL_PREFIX:04X}"
    if command != ACLCMD_FW_UPDATE:
        return f"has frame command 0x{command:04X}, not the firmware update 0x{ACLCMD_FW_UPDATE:04X}"
    (payload_bytes,) = struct.unpack_from(">I", head, FRAME_OFFSET + 10)
    if size != payload_bytes + OVERHEAD:
        return (f"is {size} bytes, but its frame announces a {payload_bytes}-byte payload, "
                f"so it should be {payload_bytes + OVERHEAD}")
    if tail != UEL:
        return "does not end with the UEL (ESC %-12345X)"
    return None


def self_test():
    # The generator's functions, without running its command line.
    maker = runpy.run_path(str(pathlib.Path(__file__).resolve().parent / "make-test-package.py"))
    write_package = maker["write_package"]

    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for payload_bytes in (0, 1, 300_000):
            good = os.path.join(folder, f"good-{payload_bytes}.bin")
            write_package(good, payload_bytes, seed=7)
            error = layout_error(good)
            if error is not None or os.path.getsize(good) != payload_bytes + OVERHEAD:
                failures.append(f"a good package of L={payload_bytes} was refused: {error}")
        for broken in maker["BREAKS"]:
            path = os.path.join(folder, f"{broken}.bin")
            write_package(path, 1000, seed=7, broken=broken)
            if layout_error(path) is None:
                failures.append(f"a package with a broken {broken} passed")
        if layout_error(os.path.join(folder, "missing.bin")) is None:
            failures.append("a missing file passed")
    for failure in failures:
        print(f"check-package self-test: {failure}", file=sys.stderr)
    print(f"check-package self-test: {'FAILED' if failures else 'ok'}")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--stamp", help="file to touch once every package has passed")
    parser.add_argument("packages", nargs="*")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    if not args.packages:
        parser.error("no package named")

    bad = 0
    for path in args.packages:
        error = layout_error(path)
        if error is not None:
            print(f"check-package: firmware package {path} {error}; refusing to embed it",
                  file=sys.stderr)
            bad += 1
    if bad:
        return 1
    if args.stamp:
        pathlib.Path(args.stamp).write_text("".join(p + "\n" for p in args.packages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
