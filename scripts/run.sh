#!/usr/bin/env bash
# Builds viruzu-fwup for Linux and runs it.
#
#   bash scripts/run.sh [arguments for the tool]
#
# With VIRUZU_FWUP_EMULATE unset, the tool talks to the simulated printer described by
# scenarios/one-printer-ready.json, so it runs where no printer is attached. Point the variable at
# another scenario file to try that one, or set it empty (VIRUZU_FWUP_EMULATE=) to use the printers
# attached over USB.
set -euo pipefail

caller_dir=$PWD
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux -j "$(nproc)"

# The Linux window is not there yet; until it is, the printer probe is the tool to run.
tool="$root/build/linux/tools/fwup-probe"
if [ ! -x "$tool" ]; then
  echo "run: $tool was not built; nothing to run yet" >&2
  exit 1
fi

export VIRUZU_FWUP_EMULATE="${VIRUZU_FWUP_EMULATE-$root/scenarios/one-printer-ready.json}"
if [ -n "$VIRUZU_FWUP_EMULATE" ]; then
  # A relative scenario path means relative to where the script was started.
  case $VIRUZU_FWUP_EMULATE in
    /*) ;;
    *) VIRUZU_FWUP_EMULATE="$caller_dir/$VIRUZU_FWUP_EMULATE" ;;
  esac
  echo "run: simulated printer from $VIRUZU_FWUP_EMULATE"
else
  unset VIRUZU_FWUP_EMULATE
  echo "run: using the printers attached over USB"
fi
exec "$tool" "$@"
