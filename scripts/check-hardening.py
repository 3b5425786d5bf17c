#!/usr/bin/env python3
"""Checks that built programs carry the hardening cmake/CompilerOptions.cmake asks for, reading it
back from the files as the loader sees them.

    check-hardening.py [--fortify] PROGRAM...

A Linux (ELF) program must be position independent, have its relocations read-only after start
(GNU_RELRO with BIND_NOW) and call the stack protector; with --fortify also at least one checked
string or memory function. A Windows (PE) program must be marked for ASLR (dynamic base with its
relocations kept, high-entropy VA) and DEP (NX compatible).
"""
import argparse
import re
import struct
import subprocess
import sys

# PE optional header DllCharacteristics bits.
HIGH_ENTROPY_VA = 0x0020
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
# COFF file header Characteristics bit.
RELOCS_STRIPPED = 0x0001
PE32_PLUS = 0x20B


def readelf(path, *options):
    return subprocess.run(["readelf", "--wide", *options, path], check=True,
                          capture_output=True, text=True).stdout


def elf_faults(path, fortify):
    faults = []
    if not re.search(r"^\s*Type:\s+DYN\b", readelf(path, "--file-header"), re.M):
        faults.append("not position independent (type is not DYN)")
    if not re.search(r"^\s*GNU_RELRO\b", readelf(path, "--program-headers"), re.M):
        faults.append("no GNU_RELRO segment")
    dynamic = readelf(path, "--dynamic")
    if not re.search(r"\(FLAGS\)\s.*\bBIND_NOW\b|\(FLAGS_1\)\s.*\bNOW\b", dynamic):
        faults.append("not bound at start (no BIND_NOW)")
    symbols = readelf(path, "--dyn-syms")
    if not re.search(r"\b__stack_chk_fail\b", symbols):
        faults.append("no stack protector (__stack_chk_fail is not called)")
    if fortify and not re.search(r"\b__\w+_chk\b", symbols):
        faults.append("no checked string or memory function (_FORTIFY_SOURCE)")
    return faults


def pe_faults(image):
    (pe_offset,) = struct.unpack_from("<I", image, 0x3C)
    if pe_offset + 4 + 20 + 72 > len(image) or image[pe_offset:pe_offset + 4] != b"PE\0\0":
        return [f"no PE header at {pe_offset:#x}"]
    # COFF file header after the signature: Machine, NumberOfSections, TimeDateStamp,
    # PointerToSymbolTable, NumberOfSymbols, SizeOfOptionalHeader, Characteristics; then the
    # optional header, DllCharacteristics at offset 70.
    (characteristics,) = struct.unpack_from("<H", image, pe_offset + 4 + 18)
    optional = pe_offset + 4 + 20
    (magic,) = struct.unpack_from("<H", image, optional)
    if magic != PE32_PLUS:
        return [f"not a 64-bit image (optional header magic {magic:#x})"]
    (dll_characteristics,) = struct.unpack_from("<H", image, optional + 70)
    faults = []
    for bit, name in ((DYNAMIC_BASE, "dynamic base"), (HIGH_ENTROPY_VA, "high-entropy VA"),
                      (NX_COMPAT, "NX compatible")):
        if not dll_characteristics & bit:
            faults.append(f"not marked {name}")
    if characteristics & RELOCS_STRIPPED:
        faults.append("relocations stripped: the image cannot be moved")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fortify", action="store_true",
                        help="also require checked string or memory functions (ELF)")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    failed = False
    for path in args.programs:
        with open(path, "rb") as program:
            image = program.read(4096)
        if image[:4] == b"\x7fELF":
            faults = elf_faults(path, args.fortify)
        elif image[:2] == b"MZ" and len(image) >= 64:
            faults = pe_faults(image)
        else:
            faults = ["neither an ELF nor a PE file"]
        for fault in faults:
            print(f"{path}: {fault}")
        if not faults:
            print(f"{path}: hardened")
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
