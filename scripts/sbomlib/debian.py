"""Which Debian package holds a file, and that package's version, as dpkg says."""

import os
import urllib.parse

from .release import run


def _variants(path):
    # /lib is /usr/lib on a merged-/usr system, and dpkg knows each file under one of the two.
    yield path
    if path.startswith("/usr/"):
        yield path[4:]
    else:
        yield "/usr" + path
    real = os.path.realpath(path)
    if real != path:
        yield real


def owners(paths):
    """{path: "package:arch"} for every path dpkg knows, looked up in one dpkg -S run."""
    asked = {}
    for path in paths:
        for variant in _variants(path):
            asked.setdefault(variant, path)
    found = {}
    # dpkg -S fails when any path is unknown: the ones it knows are still printed.
    for line in run("dpkg", "-S", *sorted(asked), check=False).splitlines():
        if line.startswith("diversion ") or ": " not in line:
            continue
        packages, path = line.split(": ", 1)
        if path in asked:
            found.setdefault(asked[path], packages.split(", ")[0])
    return found


class Package:
    def __init__(self, name, version, arch, maintainer, homepage):
        self.name, self.version, self.arch = name, version, arch
        self.maintainer, self.homepage = maintainer, homepage

    def purl(self):
        version = urllib.parse.quote(self.version, safe=":~")
        return f"pkg:deb/debian/{self.name}@{version}?arch={self.arch}"

    def supplier(self):
        # "Name <address>" as dpkg writes it, to SPDX's "Organization: Name (address)".
        name, _, address = self.maintainer.partition(" <")
        return f"Organization: {name.strip()}" + (f" ({address.rstrip('>')})" if address else "")


def describe(packages):
    """{"package:arch": Package} from dpkg-query."""
    if not packages:
        return {}
    fields = "${binary:Package}\t${Package}\t${Version}\t${Architecture}\t${Maintainer}\t${Homepage}\n"
    found = {}
    for line in run("dpkg-query", "-W", "-f", fields, *sorted(set(packages))).splitlines():
        qualified, name, version, arch, maintainer, homepage = line.split("\t")
        found[qualified] = Package(name, version, arch, maintainer, homepage)
    for wanted in packages:
        # dpkg -S names a package of architecture "all" without a qualifier.
        if wanted not in found:
            bare = wanted.split(":")[0]
            match = [p for q, p in found.items() if q.split(":")[0] == bare]
            if not match:
                raise SystemExit(f"sbom: dpkg-query knows no {wanted}")
            found[wanted] = match[0]
    return found
