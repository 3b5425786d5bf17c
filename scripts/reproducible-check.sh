#!/usr/bin/env bash
# Checks that the release files are reproducible: builds them a second time from a copy of the
# sources in another folder (build/repro/source, built in build/repro/<preset>: other absolute
# paths, fresh file times, no ccache, no object of the first build) and compares them byte for byte
# with what scripts/package.sh made in build/package:
#
#   viruzu-fwup_<version>_amd64.deb, viruzu-fwup-<version>-windows-x64.zip, the zip's
#   viruzu-fwup.exe and viruzu-fwup-cli.exe, viruzu-fwup-<version>-x64.msi
#
#   bash scripts/package.sh && bash scripts/reproducible-check.sh
#   bash scripts/reproducible-check.sh --self-test   # a one-byte change must be caught
#
# Prints "reproducible: <file> <sha256>" or "NOT reproducible: <file> ..." with diffoscope's
# account of where the two differ, and ends with "reproducible: N passed, N failed".
#
# Unsigned files are compared: the second build is never signed (FWUP_SIGN_* are dropped). When
# package.sh signed (its MSI carries a signature), the first build's unsigned zip is taken from
# build/windows/cpack instead, where package.sh leaves it, and its MSI is made anew from it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null
# shellcheck source=lib/reproducible.sh
source "$root/scripts/lib/reproducible.sh"

passed=0
failed=0
# compare NAME FIRST SECOND: one line for the pair; on a difference, diffoscope's account of it.
compare() {
  local name=$1 first=$2 second=$3 a b
  a=$(sha256sum "$first" | cut -d' ' -f1)
  b=$(sha256sum "$second" | cut -d' ' -f1)
  if [ "$a" = "$b" ]; then
    echo "reproducible: $name $a"
    passed=$((passed + 1))
    return 0
  fi
  echo "NOT reproducible: $name (first build $a, second build $b)"
  timeout 900 diffoscope --no-progress --text - "$first" "$second" 2>&1 | head -n 60 |
    sed 's/^/      /' || true
  failed=$((failed + 1))
  return 1
}

# unzip_programs ZIP DIR: the two programs of the Windows zip, into DIR.
unzip_programs() {
  rm -rf "$2" && mkdir -p "$2"
  /usr/bin/python3 - "$1" "$2" <<'PY'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for name in ("viruzu-fwup.exe", "viruzu-fwup-cli.exe"):
        member = next(n for n in z.namelist() if n.endswith("/" + name))
        with open(os.path.join(sys.argv[2], name), "wb") as out:
            out.write(z.read(member))
PY
}

repro="$root/build/repro"
out="$root/build/package"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt 2>/dev/null || true)
deb="viruzu-fwup_${version}_amd64.deb"
zip="viruzu-fwup-${version}-windows-x64.zip"
msi="viruzu-fwup-${version}-x64.msi"
for file in "$deb" "$zip" "$msi"; do
  if [ -z "$version" ] || [ ! -f "$out/$file" ]; then
    echo "reproducible-check: no build/package/$file: run scripts/package.sh first" >&2
    exit 2
  fi
done

if [ "${1:-}" = --self-test ]; then
  # The same program with one byte changed in the middle must be reported, with diffoscope's
  # account naming the spot.
  dir="$repro/self-test"
  unzip_programs "$out/$zip" "$dir"
  cp "$dir/viruzu-fwup-cli.exe" "$dir/changed.exe"
  /usr/bin/python3 -c '
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(0, 2); at = f.tell() // 2; f.seek(at); b = f.read(1); f.seek(at)
    f.write(bytes([b[0] ^ 0xFF]))' "$dir/changed.exe"
  report=$(compare viruzu-fwup-cli.exe "$dir/viruzu-fwup-cli.exe" "$dir/changed.exe" || true)
  echo "$report"
  if grep -q '^NOT reproducible: viruzu-fwup-cli.exe' <<<"$report" &&
     grep -q '^      .*[@│]' <<<"$report"; then
    echo "reproducible-check self-test: ok (the change was caught and located)"
    exit 0
  fi
  echo "reproducible-check self-test: FAILED (the change went unreported)" >&2
  exit 1
fi

epoch=$(release_epoch "$root")
export SOURCE_DATE_EPOCH=$epoch
# The second build is never signed, never served from ccache, and uses no launcher of the first.
unset FWUP_SIGN_PKCS12 FWUP_SIGN_PASSWORD CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

# The sources as the first build saw them (tracked and new files, not ignored ones), with fresh
# file times, under another path.
rm -rf "$repro"
mkdir -p "$repro/source"
git ls-files -z --cached --others --exclude-standard |
  tar --null --no-recursion -T - -cf - | tar -x -m -C "$repro/source"

check_start=$SECONDS
for preset in linux windows; do
  # The firmware the first build embedded.
  firmware=()
  for id in 3000 3001; do
    file=$(sed -n "s/^FWUP_PACKAGE_$id:FILEPATH=//p" "build/$preset/CMakeCache.txt")
    if [ -n "$file" ]; then
      firmware+=("-DFWUP_PACKAGE_$id=$file")
    fi
  done
  echo "==> reproducible: second build, $preset (build/repro/$preset)"
  t0=$SECONDS
  (cd "$repro/source" && cmake --preset "$preset" -B "$repro/$preset" "${firmware[@]}" >/dev/null)
  # Only what the packages hold: the programs, not the tests.
  if ! cmake --build "$repro/$preset" -j "$(nproc)" --target fwup_package_files \
       >"$repro/$preset-build.log" 2>&1; then
    tail -n 40 "$repro/$preset-build.log"
    echo "reproducible-check: the second $preset build failed" >&2
    exit 1
  fi
  release_cpack "$repro/$preset/CPackConfig.cmake" "$repro/$preset/cpack" "$epoch" >/dev/null
  echo "reproducible: second build of $preset took $((SECONDS - t0)) s"
done

# The first build's unsigned zip and MSI: build/package's, unless package.sh signed them.
first_zip="$out/$zip"
first_msi="$out/$msi"
# grep reads all of msiinfo's output (no -q): an early exit would fail the pipe under pipefail.
if msiinfo streams "$first_msi" | grep DigitalSignature >/dev/null; then
  echo "reproducible: build/package is signed; comparing the unsigned zip of build/windows/cpack"
  first_zip="$root/build/windows/cpack/$zip"
  first_msi="$repro/first/$msi"
  mkdir -p "$repro/first"
  bash scripts/make-msi.sh "$first_zip" "$version" "$first_msi" >/dev/null
fi
bash scripts/make-msi.sh "$repro/windows/cpack/$zip" "$version" "$repro/$msi" >/dev/null
unzip_programs "$first_zip" "$repro/first/programs"
unzip_programs "$repro/windows/cpack/$zip" "$repro/second/programs"

compare "$deb" "$out/$deb" "$repro/linux/cpack/$deb" || true
compare "$zip" "$first_zip" "$repro/windows/cpack/$zip" || true
for program in viruzu-fwup.exe viruzu-fwup-cli.exe; do
  compare "$program" "$repro/first/programs/$program" "$repro/second/programs/$program" || true
done
compare "$msi" "$first_msi" "$repro/$msi" || true

echo "reproducible: check took $((SECONDS - check_start)) s"
echo "reproducible: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
