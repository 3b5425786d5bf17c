#!/usr/bin/env bash
# Checks the Windows Installer package under Wine's msiexec, in a Wine prefix of its own:
# msiinfo reads back the ProductCode, the version and the UpgradeCode; /i /qn installs both
# programs and the uninstall entry, and the installed console program runs (--version, and list
# against a simulated printer); a package of a higher version replaces it, leaving one entry with
# the new version, and the older one is then refused; /x /qn removes the files and the entry.
#
#   bash scripts/msi-test.sh ZIP MSI VERSION WORK-FOLDER
#
# Prints one "ok:"/"FAIL:" line per check and ends with "msi: N passed, N failed".
set -euo pipefail

zip=$1
msi=$2
version=$3
work=$4
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$work"

# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
check_output="$work/check.out"
# shellcheck source=lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"

export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine=$(wine_command)

winepath_w() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
upgrade_code='{6F1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}'
product_of() { /usr/bin/python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.NAMESPACE_URL, sys.argv[1])).upper())' "https://viruzu.com/viruzu-fwup/product/$1"; }
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
reads_back() {
  [ "$(property "$msi" ProductCode)" = "$(product_of "$version")" ] &&
    [ "$(property "$msi" ProductVersion)" = "$version" ] &&
    [ "$(property "$msi" UpgradeCode)" = "$upgrade_code" ]
}
check "msiinfo reads back the ProductCode, version $version and the UpgradeCode" reads_back

folder="$WINEPREFIX/drive_c/Program Files/viruzu-fwup"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { "$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -c 'Viruzu Firmware Upgrade Tool' || true; }
entry_version() { "$wine" reg query "$uninstall\\$1" /v DisplayVersion 2>/dev/null | tr -d '\r' | awk '/DisplayVersion/ { print $NF }'; }

check "a fresh Wine prefix" wine_prefix_boot
check "msiexec /i /qn installs, exit code 0" "$wine" msiexec /i "$(winepath_w "$msi")" /qn
installed() { [ -f "$folder/viruzu-fwup.exe" ] && [ -f "$folder/viruzu-fwup-cli.exe" ]; }
check "both programs under Program Files" installed
# Wine keeps the machine's Start menu in the user's profile; wherever it is, there is one.
shortcuts() { find "$WINEPREFIX/drive_c" -name 'Viruzu Firmware Upgrade Tool.lnk' | wc -l; }
check "a Start-menu shortcut for the window" test "$(shortcuts)" = 1
one_entry() { [ "$(entries)" = 1 ] && [ "$(entry_version "$(product_of "$1")")" = "$1" ]; }
check "one uninstall entry, version $version" one_entry "$version"
cli_runs() { "$wine" "C:\\Program Files\\viruzu-fwup\\viruzu-fwup-cli.exe" --version | grep -F "$version"; }
check "the installed viruzu-fwup-cli.exe --version" cli_runs
scenario=$("$wine" winepath -w "$root/scenarios/two-printers.json" 2>/dev/null | tr -d '\r')
lists() {
  VIRUZU_FWUP_EMULATE="$scenario" "$wine" "C:\\Program Files\\viruzu-fwup\\viruzu-fwup-cli.exe" \
    list --json | grep -c '"event": "printer"' | grep -qx 2
}
check "the installed console program lists two simulated printers" lists

# The same programs as a later version: a major upgrade replaces the package.
IFS=. read -r major minor patch <<<"$version"
later="$major.$minor.$((patch + 1))"
bash "$root/scripts/make-msi.sh" "$zip" "$later" "$work/later.msi" >/dev/null
check "msiexec /i /qn of version $later, exit code 0" "$wine" msiexec /i "$(winepath_w "$work/later.msi")" /qn
check "one uninstall entry, version $later" one_entry "$later"
# Installing the older package again is refused with 1603, which a Unix exit status shows modulo
# 256, and the newer one stays.
refuses_downgrade() {
  local rc=0
  "$wine" msiexec /i "$(winepath_w "$msi")" /qn || rc=$?
  [ "$rc" -eq $((1603 % 256)) ] && one_entry "$later"
}
check "msiexec /i /qn of the older $version is refused (1603), $later stays" refuses_downgrade
check "msiexec /x /qn removes it, exit code 0" "$wine" msiexec /x "$(winepath_w "$work/later.msi")" /qn
removed() { ! installed && [ "$(entries)" = 0 ] && [ "$(shortcuts)" = 0 ]; }
check "no program, shortcut or uninstall entry left" removed

echo "msi: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
