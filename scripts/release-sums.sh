#!/usr/bin/env bash
# Lists every release file of a folder with its SHA-256 in SHA256SUMS there, and signs the list
# when given a key:
#
#   bash scripts/release-sums.sh build/package
#   FWUP_RELEASE_KEY=secret-key.asc bash scripts/release-sums.sh build/package
#
# FWUP_RELEASE_KEY names an OpenPGP secret key (armoured or binary, without a passphrase, as a
# CI secret holds it); the detached, armoured signature goes to SHA256SUMS.asc. Without a key the
# list is made and the script says plainly that it is unsigned. Users check a download with
#   sqv --keyring viruzu-fwup-release.pgp SHA256SUMS.asc SHA256SUMS
#   sha256sum --check --ignore-missing SHA256SUMS
set -euo pipefail

folder=$1
cd "$folder"
rm -f SHA256SUMS SHA256SUMS.asc
files=()
for f in *.deb *.zip *.msi *.spdx.json; do
  [ -f "$f" ] && files+=("$f")
done
if [ ${#files[@]} -eq 0 ]; then
  echo "release-sums: no release file in $folder" >&2
  exit 1
fi
# Sorted by name, so the list is the same whatever order the files were made in.
printf '%s\n' "${files[@]}" | LC_ALL=C sort | xargs -d '\n' sha256sum > SHA256SUMS
echo "release-sums: SHA256SUMS lists ${#files[@]} files"

if [ -z "${FWUP_RELEASE_KEY:-}" ]; then
  echo "release-sums: no FWUP_RELEASE_KEY: SHA256SUMS is NOT signed"
  exit 0
fi
home=$(mktemp -d)
# The agent gpg starts for the key would outlive the script otherwise.
trap 'gpgconf --homedir "$home" --kill gpg-agent 2>/dev/null || true; rm -rf "$home"' EXIT
gpg --homedir "$home" --batch --quiet --import "$FWUP_RELEASE_KEY"
gpg --homedir "$home" --batch --quiet --yes --armor --detach-sign \
  --output SHA256SUMS.asc SHA256SUMS
echo "release-sums: SHA256SUMS signed: SHA256SUMS.asc"
