#!/usr/bin/env python3
"""Damages a copy of the Linux program the way a broken download would: one flipped bit in a package.

    flip-package-byte.py PROGRAM PACKAGE_ID PACKAGE_FILE

Finds package PACKAGE_ID through the program's symbol table (fwup_package_<id>, an ELF64
executable as the build links it), makes sure the bytes there are PACKAGE_FILE's, and flips the
lowest bit of the byte in the middle of them, in place. The symbol, not a search for the bytes:
both packages may hold the same bytes.
"""

import mmap
import struct
import sys

SHT_SYMTAB = 2


def package_offset(image, symbol):
    if image[:4] != b"\x7fELF" or image[4] != 2 or image[5] != 1:
        sys.exit("not a little-endian ELF64 file")
    shoff = struct.unpack_from("<Q", image, 0x28)[0]
    shentsize, shnum = struct.unpack_from("<HH", image, 0x3A)
    # name, type, flags, addr, offset, size, link, info, addralign, entsize
    sections = [struct.unpack_from("<IIQQQQIIQQ", image, shoff + i * shentsize)
                for i in range(shnum)]
    wanted = symbol.encode()
    for symtab in (s for s in sections if s[1] == SHT_SYMTAB):
        strtab = sections[symtab[6]]
        for at in range(symtab[4], symtab[4] + symtab[5], 24):
            name, _, _, shndx, value, _ = struct.unpack_from("<IBBHQQ", image, at)
            start = strtab[4] + name
            if image[start:image.find(b"\0", start)] == wanted and 0 < shndx < len(sections):
                section = sections[shndx]
                return section[4] + value - section[3]
    sys.exit(f"no symbol {symbol}")


def main():
    program_path, package_id, package_path = sys.argv[1:4]
    with open(package_path, "rb") as package:
        expected = package.read()
    with open(program_path, "r+b") as program, mmap.mmap(program.fileno(), 0) as image:
        start = package_offset(image, f"fwup_package_{package_id}")
        if image[start:start + len(expected)] != expected:
            sys.exit(f"package {package_id} of {program_path} is not {package_path}")
        target = start + len(expected) // 2
        image[target] ^= 0x01
        image.flush()
    print(f"flipped byte {target} of {program_path} (package {package_id} at {start})")


if __name__ == "__main__":
    main()
