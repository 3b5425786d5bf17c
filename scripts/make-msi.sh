#!/usr/bin/env bash
# Makes the Windows Installer package from the Windows zip's programs:
#
#   bash scripts/make-msi.sh ZIP VERSION OUT.msi
#
# The same inputs give the same bytes: the ProductCode and the package code are derived from the
# version, and wixl runs at SOURCE_DATE_EPOCH (the last commit's time when unset) under faketime,
# since it stamps the summary with the time of day and a random package code otherwise.
set -euo pipefail

zip=$(realpath "$1")
version=$2
out=$(realpath -m "$3")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}
code() { /usr/bin/python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.NAMESPACE_URL, sys.argv[1])).upper())' "$1"; }
product=$(code "https://viruzu.com/viruzu-fwup/product/$version")
package=$(code "https://viruzu.com/viruzu-fwup/package/$version")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
bin=$(find "$work" -name viruzu-fwup.exe -printf '%h\n' | head -n 1)
# The cabinet keeps each file's time: the same for every build.
find "$bin" -type f -exec touch -d "@$epoch" {} +

# wixl takes the files' paths relative to where it runs.
(cd "$bin" && faketime -f "@$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" \
  wixl -a x64 -D "Version=$version" -D "ProductCode=$product" -D "Bin=." \
  -o "$out" "$root/resources/windows/viruzu-fwup.wxs")
msibuild "$out" -s "Viruzu Firmware Upgrade Tool" "Viruzu" "x64;1033" "{$package}"
echo "package: $out (ProductCode {$product})"
