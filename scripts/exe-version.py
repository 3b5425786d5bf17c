#!/usr/bin/env python3
"""Prints the file and product version in the version resource of Windows .exe files.

    python3 scripts/exe-version.py FILE.exe...   ->   FILE.exe 0.1.0.0 0.1.0.0

Reads the fixed part of the resource (VS_FIXEDFILEINFO); exits 1 when a file has none.
"""
import struct
import sys

SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def versions(data):
    at = data.find(SIGNATURE)
    if at < 0:
        return None
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", data, at)

    def dotted(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

    return dotted(file_ms, file_ls), dotted(product_ms, product_ls)


status = 0
for name in sys.argv[1:]:
    with open(name, "rb") as f:
        found = versions(f.read())
    if found is None:
        print(f"{name} no-version-resource")
        status = 1
    else:
        print(name, *found)
sys.exit(status)
