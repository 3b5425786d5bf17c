#!/usr/bin/env bash
# Checks the packages scripts/package.sh made in build/package/:
#   Debian package: lintian reports no error; desktop-file-validate and appstreamcli validate pass;
#     a man page for each program; installed with apt into a fresh Debian root made with mmdebstrap
#     (so a dependency missing from the package shows), the programs run as a user other than
#     root and the package removes cleanly (scripts/package-root-check.sh).
#   Windows zip: both programs, README.txt and HOW-TO-RUN.txt; the project's version in each
#     .exe's version resource; unpacked into a fresh Wine prefix, viruzu-fwup-cli.exe --version
#     and the window against a simulated printer, closed again with Alt+F4.
#   Windows Installer package: scripts/msi-test.sh (install, upgrade, remove under msiexec).
#   Bills of materials: scripts/sbom-test.sh (each release file's SPDX document against the file).
#
#   bash scripts/package-test.sh
#
# The Debian root is made from the same apt sources as this machine's and thrown away at the end;
# work files go to build/package-test/. Ends with "package: N passed, N failed".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
deb="build/package/viruzu-fwup_${version}_amd64.deb"
zip="build/package/viruzu-fwup-${version}-windows-x64.zip"
work="$root/build/package-test"
rm -rf "$work"
mkdir -p "$work"

# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
check_output="$work/check.out"
# shellcheck source=lib/wait-for.sh
source "$root/scripts/lib/wait-for.sh"
# shellcheck source=lib/xvfb-display.sh
source "$root/scripts/lib/xvfb-display.sh"
# shellcheck source=lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"

app_pid=""
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
  fi
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  echo "package: $passed passed, $failed failed"
}
trap cleanup EXIT

# Whether the console program is built at all: until it is, the packages hold the window program
# only.
cli_built() { grep -q 'viruzu-fwup-cli' "build/$1/build.ninja"; }

# ---- Debian package ----
check "$deb exists" test -f "$deb"
unpacked="$work/deb"
dpkg-deb -x "$deb" "$unpacked"
lintian_clean() {
  # Tags of severity error make lintian fail; warnings and notes are printed for the reader.
  lintian --fail-on error --info "$deb" 2>&1 | grep -v 'running with root privileges'
  return "${PIPESTATUS[0]}"
}
check "lintian reports no error" lintian_clean
check "desktop-file-validate" \
  desktop-file-validate "$unpacked/usr/share/applications/viruzu-fwup.desktop"
metainfo="$unpacked/usr/share/metainfo/com.viruzu.fwup.metainfo.xml"
check "appstreamcli validate" appstreamcli validate --no-net --explain "$metainfo"
check "metainfo provides the TQ3800HKR as a modalias" \
  grep -qF "<modalias>usb:v5A7CpB101*</modalias>" "$metainfo"
check "metainfo provides the TQ3800HKS" grep -qF '<modalias>usb:v5A7CpB102*</modalias>' "$metainfo"
man_page_each() {
  local program ok=0
  for program in "$unpacked"/usr/bin/*; do
    if [ ! -f "$unpacked/usr/share/man/man1/$(basename "$program").1.gz" ]; then
      echo "no man page for $(basename "$program")"
      ok=1
    fi
  done
  return $ok
}
check "a man page for each program" man_page_each
# The window's languages need faces for Greek, Arabic, Japanese, Korean and both Chinese forms.
recommends_fonts() {
  local recommends
  recommends=$(dpkg-deb -f "$deb" Recommends)
  echo "  Recommends: $recommends"
  [[ $recommends == *fonts-dejavu-core* && $recommends == *"fonts-noto-cjk | fonts-wqy-microhei"* ]]
}
check "the package recommends the font packages of every script" recommends_fonts
if cli_built linux; then
  check "the package holds viruzu-fwup-cli" test -x "$unpacked/usr/bin/viruzu-fwup-cli"
fi

sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  if [ -f "$f" ] && grep -qE '^[[:space:]]*(deb|Types:)' "$f"; then
    sources+=("$f")
  fi
done
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
# A root made with chroot needs root; CI runs as root.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
fresh_root_check() {
  local rc=0
  # The root lives only as long as mmdebstrap runs; its hooks copy in what the check needs.
  "${as_root[@]}" mmdebstrap --variant=apt --mode=root --include=passwd \
    --customize-hook="copy-in $deb scenarios/one-printer-ready.json scenarios/bad-crc.json scripts/package-root-check.sh scripts/lib /tmp" \
    --customize-hook="chroot \"\$1\" sh /tmp/package-root-check.sh $version" \
    "$suite" /dev/null "${sources[@]}" >"$work/mmdebstrap.log" 2>&1 || rc=$?
  grep -E '^(FAIL:|      )|^E: ' "$work/mmdebstrap.log" || true
  return "$rc"
}
echo "(a fresh $suite root with mmdebstrap: a few minutes)"
check "in a fresh $suite root: installs, runs as a user, removes cleanly (log: ${work#"$root"/}/mmdebstrap.log)" \
  fresh_root_check
sed -n 's/^\(ok: \|FAIL:\)/  &/p' "$work/mmdebstrap.log"

# ---- Windows zip ----
check "$zip exists" test -f "$zip"
(cd "$work" && cmake -E tar xf "$root/$zip")
folder="$work/viruzu-fwup-${version}-windows-x64"
exes=("$folder/viruzu-fwup.exe")
if cli_built windows; then
  exes+=("$folder/viruzu-fwup-cli.exe")
fi
check "the zip holds ${exes[*]##*/}, README.txt and HOW-TO-RUN.txt" \
  test -f "${exes[0]}" -a -f "${exes[-1]}" -a -f "$folder/README.txt" -a -f "$folder/HOW-TO-RUN.txt"
check "README.txt has Windows line ends" grep -q $'\r$' "$folder/README.txt"
versions_match() {
  python3 scripts/exe-version.py "${exes[@]}" | tee /dev/stderr |
    awk -v want="$version.0" '$2 != want || $3 != want { bad = 1 } END { exit bad }'
}
check "each .exe carries version $version in its version resource" versions_match

# Every Wine process of the prefix sees the virtual display from the start: the desktop process
# that the first one starts serves all later windows.
# A display that did not start fails the window's checks below.
xvfb_start 141 190 || true
export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(wine_command)
check "a fresh Wine prefix" wine_prefix_boot
if cli_built windows; then
  cli_version() { (cd "$folder" && "$wine" viruzu-fwup-cli.exe --version) | grep -F "$version"; }
  check "viruzu-fwup-cli.exe --version from the unpacked zip" cli_version
fi

# No window manager on the virtual display: Wine draws the frames and handles Alt+F4 itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# Against simulated printers the title says so after text 0.
title='Viruzu  Firmware Upgrade Tool — simulated printers'
main_window() { xdotool search --name "^${title}\$" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(main_window)" ]; }
scenario=$("$wine" winepath -w "$root/scenarios/one-printer-ready.json" 2>/dev/null)
(cd "$folder" && VIRUZU_FWUP_EMULATE="$scenario" exec "$wine" viruzu-fwup.exe >/dev/null 2>&1) &
app_pid=$!
window_opens() {
  wait_for 60 window_shown && return 0
  xwininfo -root -children
  return 1
}
check "viruzu-fwup.exe from the unpacked zip opens its window" window_opens
window=$(main_window)
if [ -n "$window" ]; then
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key --clearmodifiers alt+F4
fi
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
check "Alt+F4 closes it and the program ends" wait_for 30 app_ended

# ---- Windows Installer package ----
msi="build/package/viruzu-fwup-${version}-x64.msi"
check "$msi exists" test -f "$msi"
check "the MSI installs, upgrades and is removed under Wine (scripts/msi-test.sh)" \
  bash scripts/msi-test.sh "$zip" "$msi" "$version" "$work/msi"

# ---- Signatures and checksums ----
check "Authenticode signing of the programs and the MSI (scripts/sign-windows-test.sh)" \
  bash scripts/sign-windows-test.sh "$folder/viruzu-fwup.exe" "$msi"
check "SHA256SUMS and its OpenPGP signature (scripts/release-sums-test.sh)" \
  bash scripts/release-sums-test.sh
sums_listed() { (cd build/package && sha256sum --check --quiet SHA256SUMS) && [ "$(wc -l < build/package/SHA256SUMS)" = 6 ]; }
check "build/package/SHA256SUMS lists the .deb, the zip, the MSI and their SPDX documents and matches them" sums_listed

# ---- Bills of materials ----
check "each release file's SPDX document lists it, its programs and their libraries (scripts/sbom-test.sh)" \
  bash scripts/sbom-test.sh

[ "$failed" -eq 0 ]
