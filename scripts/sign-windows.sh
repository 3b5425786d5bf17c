#!/usr/bin/env bash
# Signs Windows programs and packages (.exe, .msi) in place with Authenticode (osslsigncode),
# when given a key; says plainly when it is not:
#
#   FWUP_SIGN_PKCS12=key.p12 FWUP_SIGN_PASSWORD=... [FWUP_SIGN_TIMESTAMP_URL=http://...] \
#     bash scripts/sign-windows.sh FILE...
#
# The password comes from the environment only, never the command line another user can read.
# Signatures are added after the reproducibility check compares the unsigned bytes.
set -euo pipefail

if [ -z "${FWUP_SIGN_PKCS12:-}" ]; then
  echo "sign-windows: no FWUP_SIGN_PKCS12: $* NOT signed (Windows will name an unknown publisher)"
  exit 0
fi
password_file=$(mktemp)
trap 'rm -f "$password_file" "${signed:-}"' EXIT
printf '%s' "${FWUP_SIGN_PASSWORD:-}" > "$password_file"
for file in "$@"; do
  signed="$file.signed"
  timestamp=()
  if [ -n "${FWUP_SIGN_TIMESTAMP_URL:-}" ]; then
    timestamp=(-ts "$FWUP_SIGN_TIMESTAMP_URL")
  fi
  osslsigncode sign -pkcs12 "$FWUP_SIGN_PKCS12" -readpass "$password_file" \
    -n "Viruzu Firmware Upgrade Tool" -h sha256 "${timestamp[@]}" \
    -in "$file" -out "$signed" >/dev/null
  mv -f "$signed" "$file"
  echo "sign-windows: signed $file"
done
