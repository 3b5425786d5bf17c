#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a room above its own.

    python3 scripts/check-include-rooms.py [src-dir]

The rooms, from the top: app, ui, upgrade, emulation, protocol, device, log and text, base. A
room includes its own headers and those of the rooms below it (docs/architecture.md)."""
import pathlib
import re
import sys

RANK = {"app": 7, "ui": 6, "upgrade": 5, "emulation": 4, "protocol": 3, "device": 2,
        "log": 1, "text": 1, "base": 0}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        room = path.relative_to(src).parts[0]
        if room not in RANK:
            faults.append(f"{path}: not in a known room")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or match.group(1) not in RANK:
                continue
            target = match.group(1)
            if target != room and RANK[target] >= RANK[room]:
                faults.append(f"{path}:{number}: {room}/ includes {target}/, a room not below it")
    for fault in faults:
        print(fault)
    print(f"include rooms: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
