#!/usr/bin/env bash
# Runs the viruzu_fwup role (deploy/ansible) with Debian's ansible-playbook over the hosts
# of deploy/ansible/simulated/inventory.yml, all on this machine with simulated printers of their
# own: office-a's two printers are upgraded (changed), office-b's is already current (ok),
# office-c's is pulled mid-transfer (failed). Then office-a alone again: its printers now report
# the new version, so the run is ok and changes nothing. office-hostile's printer sends a serial
# and a version with controls, line separators and template braces: upgraded (changed), then
# alone again: current (ok), with that record in its history. office-parallel's four printers
# go at most three at once (viruzu_fwup_parallel: 3): three upgraded (changed); then alone
# again with -e viruzu_fwup_parallel=true: all four current (ok).
#
#   bash scripts/ansible-test.sh [preset]     # preset: linux (default), already built
#   FWUP_ANSIBLE_CLI=/path/to/viruzu-fwup-cli bash scripts/ansible-test.sh   # another program
#
# The hosts live under build/ansible-test/fleet/. Each run's output and the facts the role
# registered (Ansible's jsonfile fact cache, one folder per run) stay in build/ansible-test/;
# tests/deploy/ansible_fleet_cases.py reads the recaps and the facts and prints one line per case
# and "N passed, N failed". Needs no network, nor root.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/daemon.sh
source "$root/scripts/lib/daemon.sh"
preset=${1:-linux}
program=${FWUP_ANSIBLE_CLI:-"$root/build/$preset/src/app/cli/viruzu-fwup-cli"}
require_built ansible-test "$program" "$preset"
if ! command -v ansible-playbook >/dev/null 2>&1; then
  echo "ansible-test: ansible-playbook is missing (bash scripts/install-deps.sh)" >&2
  exit 1
fi

dir="$root/build/ansible-test"
rm -rf "$dir"
mkdir -p "$dir/controller"

# play NAME [ansible-playbook arguments]: one run, its output in $dir/NAME.out and the facts of
# its hosts in $dir/NAME-facts/.
play() {
  local name=$1
  shift
  local rc=0
  # A controller of its own: no ansible.cfg, fact cache or temporary folder of the user's.
  env -u ANSIBLE_CONFIG HOME="$dir/controller" ANSIBLE_HOME="$dir/controller/.ansible" \
    ANSIBLE_LOCAL_TEMP="$dir/controller/tmp" ANSIBLE_REMOTE_TEMP="$dir/controller/remote-tmp" \
    ANSIBLE_NOCOLOR=1 \
    ANSIBLE_CACHE_PLUGIN=jsonfile ANSIBLE_CACHE_PLUGIN_CONNECTION="$dir/$name-facts" \
    ANSIBLE_CACHE_PLUGIN_TIMEOUT=0 ANSIBLE_RETRY_FILES_ENABLED=0 \
    timeout 600 ansible-playbook -i "$root/deploy/ansible/simulated/inventory.yml" \
    "$root/deploy/ansible/simulated-fleet.yml" -e "fleet_dir=$dir/fleet" \
    -e "viruzu_fwup_cli=$program" "$@" >"$dir/$name.out" 2>&1 || rc=$?
  echo "ansible-test: $name: ansible-playbook ended with $rc"
}

cd "$dir"
play first
play again --limit office-a
# office-hostile's history now holds its first record: a later play must not fail on it.
play hostile-again --limit office-hostile
# office-parallel's printers, upgraded at once the first time, now all report the new version;
# the variable given as the text an -e option makes.
play parallel-again --limit office-parallel -e viruzu_fwup_parallel=true
/usr/bin/python3 "$root/tests/deploy/ansible_fleet_cases.py" "$dir/first" "$dir/again" \
  "$dir/hostile-again" "$dir/parallel-again"
