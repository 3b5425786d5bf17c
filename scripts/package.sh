#!/usr/bin/env bash
# Makes the packages users install, from the install rules of the linux and windows build trees:
#
#   build/package/viruzu-fwup_<version>_amd64.deb              (CPack DEB, dependencies from
#                                                               dpkg-shlibdeps)
#   build/package/viruzu-fwup-<version>-windows-x64.zip        (CPack ZIP)
#   build/package/viruzu-fwup-<version>-x64.msi                (wixl, scripts/make-msi.sh)
#   build/package/<each of the above>.spdx.json                (SPDX 2.3 bill of materials,
#                                                               scripts/sbom.py)
#   build/package/SHA256SUMS (and SHA256SUMS.asc)              (scripts/release-sums.sh)
#
# The Windows programs and the MSI are signed when FWUP_SIGN_PKCS12 and FWUP_SIGN_PASSWORD name a
# key (scripts/sign-windows.sh); SHA256SUMS is signed when FWUP_RELEASE_KEY names one. Without
# them the script says plainly what it left unsigned.
#
#   bash scripts/package.sh
#
# Builds only what the packages hold. The packages carry whatever firmware the build trees embed:
# configure with -DFWUP_PACKAGE_3000=... -DFWUP_PACKAGE_3001=... (see README, Firmware package),
# or set those two variables in the environment and this script passes them on.
# scripts/package-test.sh checks the results.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

bash scripts/install-deps.sh
# shellcheck source=lib/reproducible.sh
source "$root/scripts/lib/reproducible.sh"

firmware=()
for id in 3000 3001; do
  var=FWUP_PACKAGE_$id
  if [ -n "${!var:-}" ]; then
    firmware+=("-D$var=$(realpath "${!var}")")
  fi
done

out="$root/build/package"
# Only this run's files: SHA256SUMS lists whatever release files the folder holds.
rm -rf "$out"
mkdir -p "$out"
for preset in linux windows; do
  echo "==> package: $preset"
  if [ ! -f "build/$preset/CMakeCache.txt" ] || [ ${#firmware[@]} -gt 0 ]; then
    cmake --preset "$preset" "${firmware[@]}" >/dev/null
  fi
  cmake --build --preset "$preset" -j "$(nproc)" --target fwup_package_files
  staging="$root/build/$preset/cpack"
  rm -rf "$staging"
  # Two builds of one commit give the same bytes (scripts/reproducible-check.sh).
  release_cpack "build/$preset/CPackConfig.cmake" "$staging" "$(release_epoch "$root")"
  find "$staging" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.zip' \) \
    -exec cp -f {} "$out"/ \; -exec echo "package: build/package/{}" \; |
    sed 's|build/package/.*/|build/package/|'
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
zip="$out/viruzu-fwup-${version}-windows-x64.zip"
msi="$out/viruzu-fwup-${version}-x64.msi"

# Signed when given a key (scripts/sign-windows.sh): the programs inside the zip first, so that
# the MSI made from the zip carries signed programs, then the MSI itself.
if [ -n "${FWUP_SIGN_PKCS12:-}" ]; then
  unpacked=$(mktemp -d)
  (cd "$unpacked" && cmake -E tar xf "$zip")
  folder=$(find "$unpacked" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  bash scripts/sign-windows.sh "$folder"/*.exe
  epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
  rm -f "$zip"
  (cd "$unpacked" && find "${folder##*/}" -type f | LC_ALL=C sort > list &&
    cmake -E tar cf "$zip" --format=zip \
      "--mtime=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')" --files-from=list)
  rm -rf "$unpacked"
fi
bash scripts/make-msi.sh "$zip" "$version" "$msi" | sed "s|$root/||"
bash scripts/sign-windows.sh "$msi"
# After signing, so that each bill of materials names the bytes users get; before the sums, so
# that SHA256SUMS covers the bills of materials too.
/usr/bin/python3 scripts/sbom.py "$out/viruzu-fwup_${version}_amd64.deb" "$zip" "$msi"
bash scripts/release-sums.sh "$out"
