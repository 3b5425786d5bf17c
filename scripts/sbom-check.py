#!/usr/bin/python3
"""Checks a release file's SPDX document against the release file itself:

    /usr/bin/python3 scripts/sbom-check.py RELEASE.spdx.json RELEASE

The document must be valid SPDX 2.3 JSON in its required fields (the document's, each package's
and file's, each relationship's ends), describe a package whose SHA-256 is the release file's, list
each program of the release file with its SHA-256, and name every library the programs load: what
ldd lists for the Linux programs, the DLL imports (objdump -p) of the Windows ones. Prints what is
wrong and ends with 1.
"""

import json
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sbomlib import release  # noqa: E402

DOCUMENT_FIELDS = ("spdxVersion", "dataLicense", "SPDXID", "name", "documentNamespace",
                   "creationInfo")


def problems(document, release_path):
    found = []
    for field in DOCUMENT_FIELDS:
        if not document.get(field):
            found.append(f"document: no {field}")
    if document.get("spdxVersion") != "SPDX-2.3" or document.get("dataLicense") != "CC0-1.0":
        found.append("document: not SPDX-2.3 under CC0-1.0")
    info = document.get("creationInfo") or {}
    if not info.get("created") or not info.get("creators"):
        found.append("document: creationInfo needs created and creators")
    ids = {"SPDXRef-DOCUMENT"}
    for package in document.get("packages", []):
        for field in ("SPDXID", "name", "downloadLocation"):
            if not package.get(field):
                found.append(f"package {package.get('SPDXID', '?')}: no {field}")
        ids.add(package.get("SPDXID"))
    for entry in document.get("files", []):
        algorithms = {c.get("algorithm") for c in entry.get("checksums", [])}
        if not entry.get("SPDXID") or not entry.get("fileName") or "SHA1" not in algorithms:
            found.append(f"file {entry.get('SPDXID', '?')}: needs SPDXID, fileName and a SHA1")
        ids.add(entry.get("SPDXID"))
    relationships = document.get("relationships", [])
    for r in relationships:
        for end in (r.get("spdxElementId"), r.get("relatedSpdxElement")):
            if end not in ids:
                found.append(f"relationship names {end}, which the document does not hold")
    described = [r["relatedSpdxElement"] for r in relationships
                 if r.get("spdxElementId") == "SPDXRef-DOCUMENT"
                 and r.get("relationshipType") == "DESCRIBES"]
    if not described:
        found.append("document: DESCRIBES nothing")
    sha256 = {p.get("SPDXID"): sha(p) for p in document.get("packages", [])}
    sha256.update({f.get("SPDXID"): sha(f) for f in document.get("files", [])})
    _, want = release.digests(release_path)
    if not any(sha256.get(d) == want for d in described):
        found.append(f"no described package has the SHA-256 of {release_path} ({want})")

    listed = {os.path.basename(f.get("fileName", "")).lower() for f in document.get("files", [])}
    listed |= {p.get("packageFileName", "").lower() for p in document.get("packages", [])}
    file_sums = {sha(f) for f in document.get("files", [])}
    with tempfile.TemporaryDirectory() as unpacked:
        release.unpack(release_path, unpacked)
        programs = [(inside, disk) for inside, disk in release.binaries(unpacked)
                    if release.is_program(inside)]
        if not programs:
            found.append(f"{release_path} holds no program")
        for inside, disk in programs:
            if release.digests(disk)[1] not in file_sums:
                found.append(f"{inside}: not listed with its SHA-256")
            if release.kind(release_path) == "deb":
                libraries = release.ldd(disk)
            else:
                libraries = release.pe_imports(disk)
            for library in libraries:
                if library.lower() not in listed:
                    found.append(f"{inside} loads {library}, which the document does not list")
    return found


def sha(element):
    for checksum in element.get("checksums", []):
        if checksum.get("algorithm") == "SHA256":
            return checksum.get("checksumValue")
    return None


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        with open(sys.argv[1]) as f:
            document = json.load(f)
    except (OSError, ValueError) as error:
        print(f"sbom-check: {sys.argv[1]}: {error}")
        return 1
    found = problems(document, sys.argv[2])
    for problem in found:
        print(f"sbom-check: {sys.argv[1]}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
