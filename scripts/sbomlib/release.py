"""Unpacks a release file and finds the programs and libraries it carries."""

import functools
import hashlib
import os
import subprocess
import zipfile


def run(*command, check=True):
    """Runs a tool in the C locale and returns its standard output."""
    env = dict(os.environ, LC_ALL="C")
    done = subprocess.run(command, capture_output=True, text=True, env=env, check=False)
    if check and done.returncode != 0:
        raise SystemExit(f"sbom: {' '.join(command)} failed: {done.stderr.strip()}")
    return done.stdout


def digests(path):
    sha1, sha256 = hashlib.sha1(), hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            sha1.update(block)
            sha256.update(block)
    return sha1.hexdigest(), sha256.hexdigest()


def kind(release):
    """'deb' for the Linux package, 'zip' or 'msi' for the Windows ones."""
    for suffix in ("deb", "zip", "msi"):
        if release.endswith("." + suffix):
            return suffix
    raise SystemExit(f"sbom: {release}: not a release file (.deb, .zip, .msi)")


def unpack(release, into):
    k = kind(release)
    if k == "deb":
        run("dpkg-deb", "-x", release, into)
    elif k == "zip":
        with zipfile.ZipFile(release) as z:
            for member in z.namelist():
                # A name that climbs out of the folder is not ours to write.
                target = os.path.realpath(os.path.join(into, member))
                if not target.startswith(os.path.realpath(into) + os.sep):
                    raise SystemExit(f"sbom: {release}: member {member!r} leaves the folder")
            z.extractall(into)
    else:
        run("msiextract", "-C", into, release)


def _magic(path):
    with open(path, "rb") as f:
        return f.read(4)


def binaries(folder):
    """The executables and shared libraries inside an unpacked release, as (path inside the release,
    path on disk), sorted: ELF files on Linux, .exe and .dll files on Windows."""
    found = []
    for top, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(top, name)
            if os.path.islink(path) or not os.path.isfile(path):
                continue
            magic = _magic(path)
            windows = name.lower().endswith((".exe", ".dll")) and magic[:2] == b"MZ"
            if magic == b"\x7fELF" or windows:
                found.append(("./" + os.path.relpath(path, folder), path))
    return found


def is_program(inside):
    return not (inside.lower().endswith(".dll") or ".so" in os.path.basename(inside))


@functools.lru_cache(maxsize=None)
def elf_needed(path):
    """The NEEDED entries of an ELF file, in order."""
    return [line.split()[1] for line in run("objdump", "-p", path).splitlines()
            if line.strip().startswith("NEEDED")]


def ldd(path):
    """Every shared library the loader maps for an ELF program, as {soname: resolved path};
    the kernel's vDSO has no file and is left out. A library the loader cannot find fails."""
    found = {}
    for line in run("ldd", path).splitlines():
        parts = line.split()
        if "=>" in parts:
            name, target = parts[0], parts[parts.index("=>") + 1]
            if target == "not":
                raise SystemExit(f"sbom: {path} needs {name}, which is not installed")
            found[name] = target
        elif parts and parts[0].startswith("/"):
            found[os.path.basename(parts[0])] = parts[0]
    return found


def pe_imports(path):
    """The DLL names a PE file imports, as written in it."""
    return [line.split("DLL Name:", 1)[1].strip()
            for line in run("x86_64-w64-mingw32-objdump", "-p", path).splitlines()
            if "DLL Name:" in line]
