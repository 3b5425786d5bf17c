#!/usr/bin/env bash
# Checks the SPDX documents scripts/package.sh wrote beside the release files in build/package/
# (scripts/sbom-check.py: required fields, the release file's SHA-256, every program and every
# library the programs load), that the checker catches a forged document, and that a second run of
# scripts/sbom.py gives the same bytes.
#
#   bash scripts/sbom-test.sh
#
# Ends with "sbom: N passed, N failed".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
work="$root/build/sbom-test"
rm -rf "$work"
mkdir -p "$work"
check_output="$work/check.out"
trap 'echo "sbom: $passed passed, $failed failed"' EXIT

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
deb="build/package/viruzu-fwup_${version}_amd64.deb"
zip="build/package/viruzu-fwup-${version}-windows-x64.zip"
msi="build/package/viruzu-fwup-${version}-x64.msi"
for release in "$deb" "$zip" "$msi"; do
  check "${release##*/}.spdx.json lists the file, its programs and every library they load" \
    /usr/bin/python3 scripts/sbom-check.py "$release.spdx.json" "$release"
done

# Each forged document must be refused: the checker itself is under test here.
#   release | what is forged | a Python statement changing the document d (prune(d) drops the
#   relationships to removed elements, so that only the removal itself is left to catch)
forged_cases=(
  "$deb|a library removed|d['files'] = [f for f in d['files'] if not f['fileName'].endswith('/libusb-1.0.so.0')]; prune(d)"
  "$zip|a system DLL removed|d['packages'] = [p for p in d['packages'] if p.get('packageFileName', '').lower() != 'kernel32.dll']; prune(d)"
  "$deb|the release file's SHA-256 changed|d['packages'][0]['checksums'][-1]['checksumValue'] = '0' * 64"
  "$msi|a program removed|d['files'] = d['files'][1:]; prune(d)"
  "$deb|no spdxVersion|del d['spdxVersion']"
  "$zip|a package without downloadLocation|del d['packages'][-1]['downloadLocation']"
  "$deb|a relationship to an element not held|d['relationships'].append(dict(spdxElementId='SPDXRef-DOCUMENT', relationshipType='DESCRIBES', relatedSpdxElement='SPDXRef-nothing'))"
  "$deb|not JSON|raise SystemExit(open(out, 'w').write('{'))"
)
refused() {
  local release=$1 forge=$2 out="$work/forged.spdx.json"
  /usr/bin/python3 -c "
import json, sys
out = sys.argv[2]
d = json.load(open(sys.argv[1]))
def prune(d):
    held = {'SPDXRef-DOCUMENT'} | {e['SPDXID'] for e in d['packages'] + d['files']}
    d['relationships'] = [r for r in d['relationships']
                          if r['spdxElementId'] in held and r['relatedSpdxElement'] in held]
$forge
json.dump(d, open(out, 'w'))" "$release.spdx.json" "$out" || true
  ! /usr/bin/python3 scripts/sbom-check.py "$out" "$release"
}
for case in "${forged_cases[@]}"; do
  IFS='|' read -r release what forge <<<"$case"
  check "the checker refuses ${release##*/}.spdx.json with $what" refused "$release" "$forge"
done

# A Windows program built against the MinGW DLLs (not statically, as ours are) runs only where
# the zip carries them: scripts/sbom.py refuses the zip without them and lists them with it.
mingw_zip() {
  local folder="$work/mingw/viruzu-fwup" dll
  rm -rf "$work/mingw" && mkdir -p "$folder"
  printf '#include <iostream>\nint main() { std::cout << "x"; }\n' > "$work/mingw/uses-dlls.cpp"
  x86_64-w64-mingw32-g++-posix -o "$folder/viruzu-fwup.exe" "$work/mingw/uses-dlls.cpp"
  for dll in "$@"; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")" "$folder/"
  done
  (cd "$work/mingw" && cmake -E tar cf "$work/mingw/fake.zip" --format=zip viruzu-fwup)
}
missing_dll_refused() {
  local said
  mingw_zip libgcc_s_seh-1.dll libwinpthread-1.dll
  if said=$(/usr/bin/python3 scripts/sbom.py --out "$work/mingw" "$work/mingw/fake.zip" 2>&1); then
    return 1
  fi
  grep -F 'imports libstdc++-6.dll' <<<"$said"
}
check "a zip lacking a MinGW DLL its program imports is refused" missing_dll_refused
bundled_dlls_listed() {
  mingw_zip libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll
  /usr/bin/python3 scripts/sbom.py --out "$work/mingw" "$work/mingw/fake.zip" &&
    /usr/bin/python3 scripts/sbom-check.py "$work/mingw/fake.zip.spdx.json" "$work/mingw/fake.zip" &&
    grep -q '"name": "g++-mingw-w64-x86-64-posix"' "$work/mingw/fake.zip.spdx.json" &&
    grep -q '"fileName": "./viruzu-fwup/libwinpthread-1.dll"' "$work/mingw/fake.zip.spdx.json"
}
check "the MinGW DLLs a zip carries are listed with their Debian package" bundled_dlls_listed

same_bytes() {
  /usr/bin/python3 scripts/sbom.py --out "$work" "$deb" "$zip" "$msi" &&
    for release in "$deb" "$zip" "$msi"; do
      cmp "$release.spdx.json" "$work/${release##*/}.spdx.json" || return 1
    done
}
check "a second run of scripts/sbom.py writes the same bytes" same_bytes

[ "$failed" -eq 0 ]
