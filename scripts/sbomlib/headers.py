"""Libraries the build compiles in from headers: staged copies of Debian's headers in the build tree,
or a copy kept in the source tree."""

import functools
import os
import re

from .release import digests, run

VERSION_MACRO = re.compile(rb"#\s*define\s+(\w+?)_VERSION_(MAJOR|MINOR|PATCH|RELEASE)\s+(\d+)\b")


def _files(entry):
    if os.path.isfile(entry):
        return [entry]
    return sorted(os.path.join(top, name) for top, _, names in os.walk(entry) for name in names)


def header_version(entry):
    """MAJOR.MINOR[.PATCH] from the first *_VERSION_MAJOR/MINOR/PATCH|RELEASE macros found, or None."""
    for path in _files(entry):
        if not path.endswith((".h", ".hpp", ".hh", ".hxx")):
            continue
        with open(path, "rb") as f:
            found = {}
            for prefix, part, number in VERSION_MACRO.findall(f.read()):
                found.setdefault(prefix, {})[part.decode()] = number.decode()
        for parts in found.values():
            if "MAJOR" in parts and "MINOR" in parts:
                patch = parts.get("PATCH", parts.get("RELEASE"))
                return ".".join([parts["MAJOR"], parts["MINOR"]] + ([patch] if patch else []))
    return None


@functools.lru_cache(maxsize=None)
def debian_origin(staged_dir, entry):
    """The installed file a staged header was copied from, found by its path and checked byte for
    byte, as (path, "package:arch"), or None."""
    files = _files(os.path.join(staged_dir, entry))
    if not files:
        return None
    sample = min(files, key=lambda p: (len(p), p))
    relative = os.path.relpath(sample, staged_dir)
    want = digests(sample)
    for line in run("dpkg", "-S", "*/" + relative, check=False).splitlines():
        if ": " not in line or line.startswith("diversion "):
            continue
        packages, path = line.split(": ", 1)
        if path.endswith("/" + relative) and os.path.isfile(path) and digests(path) == want:
            return path, packages.split(", ")[0]
    return None


def entries(include_dir):
    return sorted(os.listdir(include_dir)) if os.path.isdir(include_dir) else []
