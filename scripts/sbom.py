#!/usr/bin/python3
"""Writes an SPDX 2.3 software bill of materials for each release file:

    /usr/bin/python3 scripts/sbom.py [--out FOLDER] build/package/viruzu-fwup_0.1.0_amd64.deb ...

makes <release file>.spdx.json beside each file (or in FOLDER). The .deb is described from
build/linux, the zip and the MSI from build/windows. Nothing is listed by hand: the programs are
read from the release file itself; the shared libraries they need from ldd and objdump, each
mapped to its Debian package and version by dpkg; what is linked statically and the header-only
libraries from CMake's file API (the targets' link lines, the toolchain's own libraries and the
include directories), mapped the same way. The same release file and the same commit give the
same bytes: the time is SOURCE_DATE_EPOCH (the last commit's when unset) and the document's
namespace is derived from the file's SHA-256.
"""

import argparse
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sbomlib import debian, headers, release  # noqa: E402
from sbomlib.cmake_view import BuildTree  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINDOWS = "Microsoft Windows"


def spdx_id(*parts):
    return "SPDXRef-" + re.sub(r"[^A-Za-z0-9.-]+", "-", "-".join(parts)).strip("-")


def created():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        done = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                              capture_output=True, text=True, check=False)
        epoch = done.stdout.strip() or "0"
    moment = datetime.datetime.fromtimestamp(int(epoch), tz=datetime.timezone.utc)
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def project_license(source):
    """What the project's AppStream metainfo declares, or NOASSERTION."""
    path = os.path.join(source, "resources/linux/com.viruzu.fwup.metainfo.xml.in")
    if os.path.exists(path):
        found = re.search(r"<project_license>([^<]+)</project_license>", open(path).read())
        if found:
            return found.group(1).strip()
    return "NOASSERTION"


class Document:
    def __init__(self):
        self.packages, self.files, self.relationships = [], [], []
        self.ids = set()

    def relate(self, a, kind, b):
        entry = {"spdxElementId": a, "relationshipType": kind, "relatedSpdxElement": b}
        if entry not in self.relationships:
            self.relationships.append(entry)

    def add_file(self, ident, name, path, comment=None):
        if ident in self.ids:
            return ident
        self.ids.add(ident)
        sha1, sha256 = release.digests(path)
        entry = {"SPDXID": ident, "fileName": name,
                 "checksums": [{"algorithm": "SHA1", "checksumValue": sha1},
                               {"algorithm": "SHA256", "checksumValue": sha256}],
                 "fileTypes": ["BINARY"], "licenseConcluded": "NOASSERTION",
                 "copyrightText": "NOASSERTION"}
        if comment:
            entry["comment"] = comment
        self.files.append(entry)
        return ident

    def add_package(self, ident, **fields):
        if ident in self.ids:
            return ident
        self.ids.add(ident)
        entry = {"SPDXID": ident, "name": fields.pop("name"),
                 "downloadLocation": fields.pop("downloadLocation", "NOASSERTION"),
                 "filesAnalyzed": False}
        entry.update({k: v for k, v in fields.items() if v})
        entry.setdefault("licenseConcluded", "NOASSERTION")
        entry.setdefault("licenseDeclared", "NOASSERTION")
        entry.setdefault("copyrightText", "NOASSERTION")
        self.packages.append(entry)
        return ident

    def add_debian(self, pkg, purpose, comment=None):
        return self.add_package(
            spdx_id("Debian", pkg.name), name=pkg.name, versionInfo=pkg.version,
            supplier=pkg.supplier(), homepage=pkg.homepage or None,
            primaryPackagePurpose=purpose, comment=comment,
            externalRefs=[{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                           "referenceLocator": pkg.purl()}])


def linux_libraries(doc, programs):
    """Each program's shared libraries (the loader's whole set), with what each one needs in turn,
    as files held by their Debian packages."""
    mapped = {}
    for ident, path in programs:
        mapped[ident] = (release.elf_needed(path), release.ldd(path))
    paths = sorted({p for _, found in mapped.values() for p in found.values()})
    owner = debian.owners(paths)
    missing = [p for p in paths if p not in owner]
    if missing:
        raise SystemExit(f"sbom: no Debian package holds {', '.join(missing)}")
    known = debian.describe(list(owner.values()))
    file_ids = {}
    for path in paths:
        pkg = known[owner[path]]
        file_ids[path] = doc.add_file(spdx_id("Library", os.path.basename(path)), path, path,
                                      f"from the Debian package {pkg.name} {pkg.version}")
        doc.relate(doc.add_debian(pkg, "LIBRARY"), "CONTAINS", file_ids[path])
    for ident, (needed, found) in mapped.items():
        for name in needed:
            doc.relate(ident, "DEPENDS_ON", file_ids[found[name]])
        by_name = {os.path.basename(p): p for p in found.values()}
        by_name.update(found)
        for path in paths:
            if path in found.values():
                for name in release.elf_needed(path):
                    if name in by_name:
                        doc.relate(file_ids[path], "DEPENDS_ON", file_ids[by_name[name]])


def windows_libraries(doc, binaries, bundled, tree):
    """The DLL imports of each program and bundled DLL. A DLL the release carries is a file of it,
    tied to the MinGW package it was copied from; one that a MinGW package ships but the release
    does not carry would be missing on the user's machine, so it fails; any other comes with
    Windows."""
    search = [os.path.realpath(d) for d in tree.compiler.get("implicit", {}).get("linkDirectories", [])]
    search += [os.path.join(os.path.dirname(d), "bin") for d in search]

    def toolchain_copy(dll):
        return sorted(os.path.join(d, n) for d in search if os.path.isdir(d)
                      for n in os.listdir(d) if n.lower() == dll.lower())

    for name, (ident, disk) in sorted(bundled.items()):
        copies = toolchain_copy(name)
        owner = debian.owners(copies[:1])
        if owner:
            pkg = debian.describe([owner[copies[0]]])[owner[copies[0]]]
            dep = doc.add_debian(pkg, "LIBRARY")
            if release.digests(copies[0]) == release.digests(disk):
                doc.relate(dep, "CONTAINS", ident)
            else:  # stripped or signed on the way into the release
                doc.relate(ident, "GENERATED_FROM", dep)
    windows = None
    for ident, path in binaries:
        for dll in release.pe_imports(path):
            if dll.lower() in bundled:
                doc.relate(ident, "DEPENDS_ON", bundled[dll.lower()][0])
                continue
            shipped = toolchain_copy(dll)
            if shipped:
                raise SystemExit(f"sbom: {os.path.basename(path)} imports {dll} ({shipped[0]}), "
                                 "which the release does not carry")
            if windows is None:
                windows = doc.add_package(
                    spdx_id("Windows"), name=WINDOWS, supplier="Organization: Microsoft Corporation",
                    primaryPackagePurpose="OPERATING-SYSTEM",
                    comment="the system the Windows programs run on; its DLLs are not shipped")
            system_dll = doc.add_package(
                spdx_id("Windows", dll.lower()), name=dll, packageFileName=dll,
                supplier="Organization: Microsoft Corporation", primaryPackagePurpose="LIBRARY",
                comment=f"a system DLL of {WINDOWS}")
            doc.relate(windows, "CONTAINS", system_dll)
            doc.relate(ident, "DEPENDS_ON", system_dll)


def built_in(doc, tree, ident, target):
    """What the program's link took in statically, and the header-only libraries it compiled in."""
    archives = tree.static_archives(target)
    owner = debian.owners(archives)
    known = debian.describe(list(owner.values()))
    for path in archives:
        if path in owner:
            pkg = known[owner[path]]
            doc.relate(ident, "STATIC_LINK", doc.add_debian(pkg, "LIBRARY"))
    for include in tree.include_dirs(target):
        staged = tree.inside(include, tree.tree)
        if not staged and not tree.inside(include, tree.source):
            continue  # a system library's headers: the library itself is linked and listed
        for entry in headers.entries(include):
            version = headers.header_version(os.path.join(include, entry))
            if staged:
                origin = headers.debian_origin(include, entry)
                if not origin:
                    continue  # made by the build itself
                pkg = debian.describe([origin[1]])[origin[1]]
                note = f"used header-only: {entry}" + (f" (version {version})" if version else "")
                dep = doc.add_debian(pkg, "LIBRARY", note)
            elif version:
                dep = doc.add_package(spdx_id("Vendored", entry), name=entry, versionInfo=version,
                                      primaryPackagePurpose="LIBRARY",
                                      comment=f"kept in the source tree: {os.path.relpath(include, tree.source)}/{entry}")
            else:
                continue
            doc.relate(ident, "STATIC_LINK", dep)


def describe_release(path, tree, when):
    name = os.path.basename(path)
    kind = release.kind(path)
    sha1, sha256 = release.digests(path)
    cache = tree.cache
    version = cache["CMAKE_PROJECT_VERSION"]
    vendor = f"Organization: Viruzu ({cache.get('FWUP_CONTACT_EMAIL', '')})".replace(" ()", "")
    homepage = cache.get("FWUP_HOMEPAGE_URL", "")
    licence = project_license(tree.source)
    doc = Document()
    top = doc.add_package(
        spdx_id("Release", name), name=name, versionInfo=version, packageFileName=name,
        supplier=vendor, originator=vendor, homepage=homepage or None,
        checksums=[{"algorithm": "SHA1", "checksumValue": sha1},
                   {"algorithm": "SHA256", "checksumValue": sha256}],
        primaryPackagePurpose="ARCHIVE" if kind == "zip" else "INSTALL",
        licenseDeclared=licence)
    with tempfile.TemporaryDirectory() as unpacked:
        release.unpack(path, unpacked)
        found = release.binaries(unpacked)
        programs, bundled = [], {}
        for inside, disk in found:
            program = release.is_program(inside)
            ident = doc.add_file(spdx_id("File", inside[2:]), inside, disk)
            doc.relate(top, "CONTAINS", ident)
            if program:
                programs.append((ident, disk, os.path.basename(disk)))
            else:
                bundled[os.path.basename(disk).lower()] = (ident, disk)
        if not programs:
            raise SystemExit(f"sbom: {name} holds no program")
        if kind == "deb":
            linux_libraries(doc, [(i, d) for i, d, _ in programs])
        else:
            windows_libraries(doc, [(i, d) for i, d, _ in programs] + sorted(bundled.values()),
                              bundled, tree)
        for ident, _, file_name in programs:
            built_in(doc, tree, ident, tree.target_for(file_name))
    document = {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": name,
        "documentNamespace": f"{homepage or 'https://viruzu.example/fwup'}/spdx/{name}-{sha256}",
        "creationInfo": {"created": when,
                         "creators": [vendor, f"Tool: viruzu-fwup-sbom-{version}"]},
        "packages": doc.packages,
        "files": doc.files,
        "relationships": [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                           "relatedSpdxElement": top}] + doc.relationships,
    }
    if licence.startswith("LicenseRef-"):
        document["hasExtractedLicensingInfos"] = [{
            "licenseId": licence, "name": licence[len("LicenseRef-"):],
            "extractedText": "The terms are Viruzu's own; the release carries no licence text."}]
    return document


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", help="folder for the documents (default: beside each file)")
    parser.add_argument("releases", nargs="+")
    args = parser.parse_args()
    when = created()
    trees = {}
    for path in args.releases:
        preset = "linux" if release.kind(path) == "deb" else "windows"
        if preset not in trees:
            trees[preset] = BuildTree(os.path.join(ROOT, "build", preset))
        document = describe_release(path, trees[preset], when)
        out = os.path.join(args.out or os.path.dirname(os.path.abspath(path)),
                           os.path.basename(path) + ".spdx.json")
        with open(out, "w") as f:
            json.dump(document, f, indent=2)
            f.write("\n")
        print(f"sbom: {os.path.relpath(out)}: {len(document['packages'])} packages, "
              f"{len(document['files'])} files")


if __name__ == "__main__":
    main()
