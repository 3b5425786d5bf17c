#!/usr/bin/env bash
# Checks scripts/release-sums.sh with a throw-away OpenPGP key: the list matches the files, the
# signature verifies with the public key (sqv, as a user checks it), and a changed file or a
# changed list fails. Ends with "sums: N passed, N failed".
#
#   bash scripts/release-sums-test.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'gpgconf --homedir "$work/gnupg" --kill gpg-agent 2>/dev/null || true; rm -rf "$work"' EXIT
# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
check_output="$work/check.out"

mkdir -p "$work/release" "$work/gnupg"
chmod 700 "$work/gnupg"
printf 'deb' > "$work/release/viruzu-fwup_9.9.9_amd64.deb"
printf 'zip' > "$work/release/viruzu-fwup-9.9.9-windows-x64.zip"
printf 'msi' > "$work/release/viruzu-fwup-9.9.9-x64.msi"
printf 'not a release file' > "$work/release/notes.txt"
gpg --homedir "$work/gnupg" --batch --quiet --passphrase '' \
  --quick-gen-key 'viruzu-fwup test release <release@example.invalid>' ed25519 sign never
gpg --homedir "$work/gnupg" --batch --quiet --armor --export-secret-keys > "$work/secret.asc"
gpg --homedir "$work/gnupg" --batch --quiet --export > "$work/public.pgp"

unsigned() { bash "$root/scripts/release-sums.sh" "$work/release" | grep -q 'NOT signed'; }
check "without a key the list is made and said to be unsigned" unsigned
check "signed with FWUP_RELEASE_KEY" env FWUP_RELEASE_KEY="$work/secret.asc" \
  bash "$root/scripts/release-sums.sh" "$work/release"
lists_three() { [ "$(wc -l < "$work/release/SHA256SUMS")" = 3 ] && ! grep -q notes "$work/release/SHA256SUMS"; }
check "SHA256SUMS lists the three release files" lists_three
sums_match() { (cd "$work/release" && sha256sum --check --quiet SHA256SUMS); }
check "the list matches the files" sums_match
verifies() { sqv --keyring "$work/public.pgp" "$work/release/SHA256SUMS.asc" "$work/release/SHA256SUMS"; }
check "the signature verifies with the public key (sqv)" verifies

printf 'Msi' > "$work/release/viruzu-fwup-9.9.9-x64.msi"
check "a changed file fails the list" sh -c "! (cd '$work/release' && sha256sum --check --quiet SHA256SUMS)"
sed -i 's/^./0/' "$work/release/SHA256SUMS"
check "a changed list fails the signature" sh -c "! sqv --keyring '$work/public.pgp' '$work/release/SHA256SUMS.asc' '$work/release/SHA256SUMS'"

echo "sums: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
