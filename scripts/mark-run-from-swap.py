#!/usr/bin/env python3
"""Marks a Windows executable to be run from the swap file when it starts from a network or
removable drive (PE characteristics IMAGE_FILE_NET_RUN_FROM_SWAP and
IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP). The program streams its firmware package straight from its
own image, so the image must stay readable for the whole transfer; the linker has no option for
these two flags.

    mark-run-from-swap.py PROGRAM.exe
"""
import struct
import sys

REMOVABLE_RUN_FROM_SWAP = 0x0400
NET_RUN_FROM_SWAP = 0x0800


def main(path):
    with open(path, "r+b") as image:
        dos = image.read(64)
        if len(dos) < 64 or dos[:2] != b"MZ":
            sys.exit(f"{path}: not an MZ executable")
        (pe_offset,) = struct.unpack_from("<I", dos, 0x3C)
        image.seek(pe_offset)
        header = image.read(24)
        if len(header) < 24 or header[:4] != b"PE\0\0":
            sys.exit(f"{path}: no PE header at {pe_offset:#x}")
        # COFF file header after the signature: Machine, NumberOfSections, TimeDateStamp,
        # PointerToSymbolTable, NumberOfSymbols, SizeOfOptionalHeader, Characteristics.
        at = pe_offset + 4 + 18
        (characteristics,) = struct.unpack_from("<H", header, 4 + 18)
        marked = characteristics | REMOVABLE_RUN_FROM_SWAP | NET_RUN_FROM_SWAP
        if marked != characteristics:
            image.seek(at)
            image.write(struct.pack("<H", marked))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
