#!/usr/bin/env bash
# Checks scripts/sign-windows.sh with a throw-away self-signed certificate on a program and an
# MSI: without a key it says so and changes nothing; with one the signature is there and covers
# the file (osslsigncode verify against the certificate), and one flipped byte fails it.
# Ends with "sign: N passed, N failed".
#
#   bash scripts/sign-windows-test.sh EXE MSI
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
check_output="$work/check.out"

cp "$1" "$work/program.exe"
cp "$2" "$work/package.msi"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=viruzu-fwup test signing" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/key.p12" \
  -passout pass:throw-away 2>/dev/null

before=$(sha256sum "$work/program.exe" | cut -d' ' -f1)
unsigned() {
  bash "$root/scripts/sign-windows.sh" "$work/program.exe" | grep -q 'NOT signed' &&
    [ "$(sha256sum "$work/program.exe" | cut -d' ' -f1)" = "$before" ]
}
check "without a key it says NOT signed and leaves the file as it was" unsigned
check "signs the program and the MSI" env FWUP_SIGN_PKCS12="$work/key.p12" \
  FWUP_SIGN_PASSWORD=throw-away bash "$root/scripts/sign-windows.sh" "$work/program.exe" \
  "$work/package.msi"
verified() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" 2>&1 | tail -n 1 | grep -qx Succeeded; }
check "the program's signature is there and covers it" verified "$work/program.exe"
check "the MSI's signature is there and covers it" verified "$work/package.msi"
flip() { /usr/bin/python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[int(sys.argv[2])] ^= 1; open(sys.argv[1], "wb").write(d)' "$@"; }
flip "$work/program.exe" 4096
check "one flipped byte in the signed program fails the verification" sh -c \
  "! osslsigncode verify -CAfile '$work/cert.pem' -in '$work/program.exe' 2>&1 | tail -n 1 | grep -qx Succeeded"

echo "sign: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
